// Rich text pasted as markup, from any HTML: no crash, no hang, markup at most
// a few times as long as the HTML, and where the text holds no bracket, markup
// whose every tag the converter pairs and converts as written.
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

#include "convert/html_to_markup.h"
#include "convert/tag_check.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // the HTML import needs fonts
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString html = FuzzText(data, size);
    const QString markup = convert::HtmlToMarkup(html);
    Require(markup.size() <= 8 * html.size() + 1024, "markup bounded by the HTML");
    QTextDocument document;
    document.setHtml(html);
    const QString text = document.toPlainText();
    if (!text.contains(u'[') && !text.contains(u']'))
        Require(convert::CheckTags(markup).isEmpty(), "the tags written are sound");
    return 0;
}
