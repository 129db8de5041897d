// 轉換 > 簡體→繁體… and 繁體→簡體: the selection, or the whole document when
// nothing is selected, converted between the scripts as one undo step; the
// tags and their values stay as they are.
#include <QAction>
#include <QTextCursor>
#include <atomic>
#include <memory>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/chinese_script.h"
#include "markup/editor_lines.h"

using namespace Qt::Literals::StringLiterals;

namespace {

struct ScriptItem {
    const char* name;
    convert::ScriptConversion conversion;
};
constexpr ScriptItem kScriptItems[] = {
    {"N69", convert::ScriptConversion::SimplifiedToTaiwan},
    {"N70", convert::ScriptConversion::SimplifiedToHongKong},
    {"N71", convert::ScriptConversion::TraditionalToSimplified},
    {"N72", convert::ScriptConversion::TraditionalToTaiwan},
};

}  // namespace

void TForm1::N69Click()
{
    convertScript(convert::ScriptConversion::SimplifiedToTaiwan);
}
void TForm1::N70Click()
{
    convertScript(convert::ScriptConversion::SimplifiedToHongKong);
}
void TForm1::N71Click()
{
    convertScript(convert::ScriptConversion::TraditionalToSimplified);
}
void TForm1::N72Click()
{
    convertScript(convert::ScriptConversion::TraditionalToTaiwan);
}

void TForm1::enableScriptConversions()
{
    for (const ScriptItem& item : kScriptItems) {
        if (convert::ScriptConversionAvailable(item.conversion)) continue;
        QAction* const entry = action(item.name);
        entry->setEnabled(false);
        entry->setToolTip(u"需要安裝 OpenCC 的轉換表（Debian 套件 libopencc-data）"_s);
        // A greyed item says why when pointed at.
        for (QObject* menu : entry->associatedObjects()) menu->setProperty("toolTipsVisible", true);
    }
}

void TForm1::convertScript(convert::ScriptConversion conversion)
{
    QTextCursor range = Memo1->textCursor();
    if (!range.hasSelection()) range.select(QTextCursor::Document);
    const QString text = markup::FromEditorText(range.selectedText());
    // Put back over the same characters, as one step Undo takes back; a
    // document changed meanwhile is left as it is.
    const int start = range.selectionStart(), end = range.selectionEnd();
    const quint64 revision = quint64(Memo1->document()->revision());
    const auto apply = [this, start, end, revision](const QString& converted) {
        if (quint64(Memo1->document()->revision()) != revision) return;
        QTextCursor replace(Memo1->document());
        replace.setPosition(start);
        replace.setPosition(end, QTextCursor::KeepAnchor);
        replace.beginEditBlock();
        replace.insertText(markup::EditorText(converted));
        replace.endEditBlock();
    };
    if (text.size() < kLongText) {
        if (const auto converted = convert::ConvertScript(text, conversion)) apply(*converted);
        return;
    }
    const auto converted = std::make_shared<std::optional<QString>>();
    runBehindProgress(
        u"轉換中…"_s, u"取消"_s,
        [text, conversion, converted](const std::atomic_bool& cancel) {
            *converted = convert::ConvertScript(text, conversion, &cancel);
        },
        [converted, apply] {
            if (*converted) apply(**converted);
        });
}
