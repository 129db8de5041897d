// The one-pass conversion against the step-by-step one, on the texts the
// other conversion tests use and on many random mixtures of the pieces the
// steps react to.
#include <gtest/gtest.h>

#include "qstring_printer.h"

#include <QStringList>
#include <random>
#include <vector>

#include "convert/ybb_to_html.h"

using convert::ConvertYbbToHtml;
using convert::ConvertYbbToHtmlReference;

namespace {

// Every search text of the table, whole and cut short, so that near misses
// sit next to real tags.
const char* const kTags[] = {
    "[b]",     "[/b]",    "[i]",      "[/i]",     "[u]",       "[/u]",    "[s]",
    "[/s]",    "[left]",  "[/left]",  "[center]", "[/center]", "[right]", "[/right]",
    "[hr]",    "[url=\"", "\"]",      "[/url]",   "[img]",     "[/img]",  "[code]",
    "[/code]", "[quote]", "[/quote]", "[list]",   "[/list]",   "[*]",     "[/*]",
    "[font=",  "] ",      "[/font=",  "[size=",   "[/size=",   " [",      "[/",
};

const char* const kOthers[] = {
    "[",  "]",     "/",        " ",      "  ",    "\"",    "=",     "*",    "<",    ">",    "a",
    "b",  "Z",     "red",      "Arial",  "3",     "\r\n",  "\n",    "\r",   "\t",   "他也", "久/",
    "來", "引言:", "😀",        "&amp;",  "[B]",   "[/B] ", "[url=", "] [",  "\"] ", " [/",  "[[",
    "]]", "\"\"",  "[url=\"]", "[/font", "font=", "size=", "url",   "\" ]", "[ /",  "『』", "〔〕",
};

std::vector<QString> Pieces()
{
    std::vector<QString> pieces;
    for (const char* tag : kTags) {
        const QString whole = QString::fromUtf8(tag);
        pieces.push_back(whole);
        for (qsizetype cut = 1; cut < whole.size(); ++cut) pieces.push_back(whole.first(cut));
        pieces.push_back(whole.mid(1));
    }
    for (const char* other : kOthers) pieces.push_back(QString::fromUtf8(other));
    return pieces;
}

// The inputs of the other conversion tests, the worked example among them.
const char* const kKnownInputs[] = {
    "",
    "Tom & Jerry <b> \"quoted\"\r\nsecond line 𠀋😀",
    "[b]1[b]2[/b][/b]",
    "x] ] ] y",
    "他也 來",
    "久/",
    "也 [red] 久[/red] ",
    "[url=\"mailto:name\"]text[/url]",
    "[url=page.htm]x[/url]",
    "[img]address[/img] next",
    "[list][*]one[/*][/list]",
    "[*]stray",
    "[font=Arial] sel[/font=Arial] ",
    "[size=3] sel[/size=3] ",
    "x [red] sel[/red] ",
    "[font=Arial] text [/font=Arial] ",
    " [red] x [/red] ",
    " [note] ",
    "[/B] ",
    "[font=Arial]Hi",
    "[red] x[/red] ",
    "see [1] here",
    "[B]x[/B] ",
    "x[b\r\n]y\r\n[cen\r\nter]\r\n\"\r\n]z \r\n[q",
    "a]\r\n[b",
    "[b]Notice[/b] [red] now[/red] \n[url=\"page.htm\"]more[/url]\n"
    "[font=Arial] Hi[/font=Arial] [size=4] big[/size=4] \n[quote]Yes[/quote]\n",
};

TEST(ConvertYbbToHtml, OnePassAgreesWithTheStepsOnKnownInputs)
{
    QStringList inputs;
    for (const char* input : kKnownInputs) inputs.append(QString::fromUtf8(input));
    // Each step alone between plain letters, and each one twice over.
    for (const char* tag : kTags) {
        const QString t = QString::fromUtf8(tag);
        inputs << u'a' + t + u'c' << t + t << u' ' + t + u' ';
    }
    for (const QString& input : inputs) {
        ASSERT_EQ(ConvertYbbToHtml(input), ConvertYbbToHtmlReference(input)) << input.toStdString();
        // What the conversion wrote is converted the same way too.
        const QString once = ConvertYbbToHtmlReference(input);
        ASSERT_EQ(ConvertYbbToHtml(once), ConvertYbbToHtmlReference(once)) << once.toStdString();
    }
}

TEST(ConvertYbbToHtml, OnePassAgreesWithTheStepsOnRandomMixtures)
{
    const std::vector<QString> pieces = Pieces();
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int i = 0; i < 40000; ++i) {
        QString text;
        for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
        ASSERT_EQ(ConvertYbbToHtml(text), ConvertYbbToHtmlReference(text)) << text.toStdString();
    }
}

// Long texts of single characters, where everything meets everything.
TEST(ConvertYbbToHtml, OnePassAgreesWithTheStepsOnDenseBrackets)
{
    const QString alphabet = QString::fromUtf8("[]/ \"=*bfontsizeurlimg也\n");
    std::mt19937 random(12);
    std::uniform_int_distribution<qsizetype> pick(0, alphabet.size() - 1);
    for (int i = 0; i < 3000; ++i) {
        QString text;
        for (int n = 0; n < 200; ++n) text += alphabet[pick(random)];
        ASSERT_EQ(ConvertYbbToHtml(text), ConvertYbbToHtmlReference(text)) << text.toStdString();
    }
}

}  // namespace
