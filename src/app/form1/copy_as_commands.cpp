// 編輯 > 複製為: the whole post, as its preview shows it, copied for boards
// that read another form of markup, or as rich text. The document is never
// changed.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <memory>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/post_export.h"
#include "markup/editor_lines.h"

using namespace Qt::Literals::StringLiterals;

void TForm1::N65Click()
{
    copyAs(convert::Dialect::BBCode);
}
void TForm1::N66Click()
{
    copyAs(convert::Dialect::Discuz);
}
void TForm1::N67Click()
{
    copyAs(convert::Dialect::Markdown);
}

void TForm1::N68Click()
{
    const convert::RichPost rich = convert::RichTextOf(markup::DocumentText(*Memo1));
    auto* const both = new QMimeData;
    both->setHtml(rich.html);
    both->setText(rich.plain);
    QApplication::clipboard()->setMimeData(both);
    showPassingNotice(u"已複製為網頁格式"_s);
}

void TForm1::copyAs(convert::Dialect dialect)
{
    const QString post = markup::DocumentText(*Memo1);
    const QString name = convert::DialectName(dialect);
    const auto done = [this, name](const convert::ExportedPost& exported) {
        QApplication::clipboard()->setText(exported.text);
        showPassingNotice(exported.dropped.isEmpty()
                              ? u"已複製為 %1"_s.arg(name)
                              : u"%1 無法表示：%2"_s.arg(name, exported.dropped));
    };
    if (post.size() < kLongText) {
        done(convert::ExportPost(post, dialect));
        return;
    }
    const auto exported = std::make_shared<convert::ExportedPost>();
    runBehindProgress(
        u"複製為 %1…"_s.arg(name), QString(),
        [post, dialect, exported](const std::atomic_bool&) {
            *exported = convert::ExportPost(post, dialect);
        },
        [exported, done] { done(*exported); });
}
