// The conversion menu, whose two commands rewrite the whole document, the
// preview page, and the tag check with its panel below the editing area.
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/form1/form1.h"
#include "app/memo_edit.h"
#include "convert/html_strip.h"
#include "convert/preview_browser.h"
#include "convert/preview_page.h"
#include "convert/tag_check.h"
#include "convert/ybb_to_html.h"
#include "look/ming_font.h"
#include "look/text_colour.h"
#include "markup/editor_lines.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Where a problem of the tag check is, kept with its entry.
constexpr int kProblemStart = Qt::UserRole;
constexpr int kProblemLength = Qt::UserRole + 1;

}  // namespace

void TForm1::replaceDocument(const QString& text)
{
    if (text == markup::DocumentText(*Memo1)) return;
    // One edit, so one Undo brings the document back.
    QTextCursor all(Memo1->document());
    all.beginEditBlock();
    all.select(QTextCursor::Document);
    all.insertText(markup::EditorText(text), QTextCharFormat());
    all.endEditBlock();
    Memo1->setTextCursor(all);
}

void TForm1::XTHTML1Click()
{
    replaceDocument(convert::ConvertDocumentToHtmlPage(markup::DisplayedLines(*Memo1)));
}

void TForm1::HTML1Click()
{
    replaceDocument(convert::StripHtmlTags(markup::DocumentText(*Memo1)));
}

void TForm1::TabSheet2Show()
{
    // The browser engine is loaded on the first preview, not with the program.
    if (!EmbeddedWB1) {
        EmbeddedWB1 = convert::MakePreviewBrowser(TabSheet2);
        EmbeddedWB1->widget()->setObjectName(u"EmbeddedWB1"_s);
        TabSheet2->layout()->addWidget(EmbeddedWB1->widget());
    }
    EmbeddedWB1->LoadPageLines(convert::BuildPreviewPageLines(markup::DisplayedLines(*Memo1)));
}

void TForm1::buildCheckPanel()
{
    // Below the editing area (and the live preview beside it), above the
    // symbol bar, which stays at the bottom of the tab: the problems sit
    // under the text they point into.
    Panel6 = new QFrame(TabSheet1);
    Panel6->setObjectName(u"Panel6"_s);
    Panel6->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel6->setFixedHeight(132);
    auto* column = new QVBoxLayout(Panel6);
    column->setContentsMargins(2, 2, 2, 2);
    column->setSpacing(2);
    auto* header = new QHBoxLayout;
    Label3 = new QLabel(u"標籤檢查"_s, Panel6);
    Label3->setObjectName(u"Label3"_s);
    Label3->setFont(look::MingFont(13));
    look::SetTextColour(Label3, QColor(0x00, 0x80, 0x80));
    auto* close = new QToolButton(Panel6);
    close->setObjectName(u"SpeedButton52"_s);
    close->setAutoRaise(true);
    close->setFocusPolicy(Qt::NoFocus);
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(u"關閉"_s);
    close->setAccessibleName(u"關閉"_s);
    close->setFixedSize(20, 20);
    header->addWidget(Label3);
    header->addStretch(1);
    header->addWidget(close);
    column->addLayout(header);
    ListBox1 = new QListWidget(Panel6);
    ListBox1->setObjectName(u"ListBox1"_s);
    ListBox1->setAccessibleName(u"標籤檢查"_s);
    ListBox1->setFont(look::MingFont(15));
    ListBox1->setUniformItemSizes(true);
    column->addWidget(ListBox1);
    static_cast<QVBoxLayout*>(TabSheet1->layout())->insertWidget(1, Panel6);

    // Double click or Enter.
    connect(ListBox1, &QListWidget::itemActivated, this,
            [this] { runCommand(&TForm1::ListBox1DblClick); });
    connect(close, &QToolButton::clicked, this,
            [this] { runCommand(&TForm1::SpeedButton52Click); });
}

void TForm1::N59Click()
{
    // A whole long post is checked in one pass: a moment, not an instant.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    const QList<convert::TagProblem> problems = convert::CheckTags(markup::DocumentText(*Memo1));
    if (!Panel6) buildCheckPanel();
    ListBox1->clear();
    for (const convert::TagProblem& problem : problems) {
        // Numbered as status panel 0 numbers the caret's line.
        const int line = markup::RowOfPosition(*Memo1, int(problem.start)).row + 1;
        auto* item = new QListWidgetItem(u"第 %1 行："_s.arg(line) + problem.description, ListBox1);
        item->setData(kProblemStart, qlonglong(problem.start));
        item->setData(kProblemLength, qlonglong(problem.length));
    }
    if (problems.isEmpty()) ListBox1->addItem(u"沒有發現問題"_s);
    Panel6->show();
    ListBox1->setCurrentRow(0);
    ListBox1->setFocus();
}

void TForm1::ListBox1DblClick()
{
    const QListWidgetItem* const item = ListBox1->currentItem();
    if (!item || !item->data(kProblemStart).isValid()) return;
    // The document may have changed since the check: the place stays
    // within it.
    const int end = Memo1->document()->characterCount() - 1;
    const int start = int(std::clamp<qlonglong>(item->data(kProblemStart).toLongLong(), 0, end));
    const int stop =
        int(std::clamp<qlonglong>(start + item->data(kProblemLength).toLongLong(), start, end));
    QTextCursor cursor(Memo1->document());
    cursor.setPosition(start);
    cursor.setPosition(stop, QTextCursor::KeepAnchor);
    Memo1->setTextCursor(cursor);
    Memo1->setFocus();
}

void TForm1::SpeedButton52Click()
{
    Panel6->hide();
    Memo1->setFocus();
}
