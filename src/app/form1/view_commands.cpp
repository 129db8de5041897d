// The view menu: the four toolbar switches, the hidden tag-highlighting
// command, the live preview and the tag colours, two of the switches the
// program remembers between runs (the third, the spell check, has its own
// file).
#include <QAction>
#include <QColor>
#include <QLabel>
#include <QSplitter>
#include <QTextBlock>
#include <QVBoxLayout>
#include <array>

#include "app/form1/form1.h"
#include "app/live_preview.h"
#include "app/memo_edit.h"
#include "app/window_settings.h"
#include "convert/preview_browser.h"
#include "convert/tag_check.h"
#include "markup/highlight.h"
#include "markup/tag_table.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// The tags of one paragraph in the colours of the tag-colouring layer.
QList<QTextLayout::FormatRange> TagFormats(const QTextBlock& paragraph)
{
    // In the order of convert::TagColour.
    static const auto formats = [] {
        std::array<QTextCharFormat, 3> made;
        const QRgb colours[] = {markup::kTagNameColour, markup::kTagValueColour,
                                markup::kUnpairedTagColour};
        for (size_t i = 0; i < made.size(); ++i) made[i].setForeground(QColor(colours[i]));
        return made;
    }();
    QList<QTextLayout::FormatRange> ranges;
    for (const convert::ColouredSpan& span : convert::TagColours(paragraph.text()))
        ranges.append({span.start, span.length, formats[int(span.colour)]});
    return ranges;
}

}  // namespace

void TForm1::setPanelVisible(QWidget* panel, const char* actionName)
{
    panel->setVisible(action(actionName)->isChecked());
}

void TForm1::N24Click()
{
    setPanelVisible(Panel2, "N24");
}

void TForm1::N39Click()
{
    setPanelVisible(Panel4, "N39");
}

void TForm1::YBB1Click()
{
    setPanelVisible(Panel1, "YBB1");
}

void TForm1::YBB2Click()
{
    setPanelVisible(Panel3, "YBB2");
}

void TForm1::N55Click()
{
    const QColor red(255, 0, 0);
    for (const QString& tag : markup::HighlightedTags())
        markup::HighlightOccurrences(*Memo1, tag, red);
}

void TForm1::restoreSettings()
{
    const std::pair<const char*, bool> saved[] = {
        {"N57", m_settings->livePreview()},
        {"N58", m_settings->tagColours()},
        {"N73", m_settings->spellCheck()},
    };
    // A triggered check item ticks itself, then runs its handler.
    for (const auto& [name, on] : saved)
        if (on && !action(name)->isChecked()) action(name)->trigger();
}

void TForm1::N57Click()
{
    QAction* const item = action("N57");
    try {
        showLivePreview(item->isChecked());
    } catch (...) {
        // The preview's module could not be loaded; the error box says so.
        item->setChecked(false);
        m_settings->setLivePreview(false);
        throw;
    }
    m_settings->setLivePreview(item->isChecked());
}

void TForm1::showLivePreview(bool on)
{
    auto* const page = static_cast<QVBoxLayout*>(TabSheet1->layout());
    // Moved into or out of the splitter, the editing area loses the focus;
    // it gets it back when it had it, or would have it once shown.
    const bool typing = focusWidget() == Memo1;
    if (on && !EmbeddedWB2) {
        // The browser engine is loaded now, not with the program.
        auto* splitter = new QSplitter(Qt::Horizontal, TabSheet1);
        splitter->hide();
        // The view, with a line above it for what it cannot show itself.
        auto* side = new QWidget(splitter);
        auto* column = new QVBoxLayout(side);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        auto* notice = new QLabel(side);
        notice->setObjectName(u"LivePreviewNotice"_s);
        notice->setWordWrap(true);
        notice->hide();
        convert::PreviewBrowser* const view = convert::MakePreviewBrowser(side);
        column->addWidget(notice);
        column->addWidget(view->widget(), 1);
        Splitter1 = splitter;
        Splitter1->setObjectName(u"Splitter1"_s);
        Splitter1->setChildrenCollapsible(false);
        EmbeddedWB2 = view;
        EmbeddedWB2->widget()->setObjectName(u"EmbeddedWB2"_s);
        Splitter1->addWidget(side);
        m_livePreview = new LivePreview(*Memo1, *EmbeddedWB2, this);
        connect(m_livePreview, &LivePreview::rendererEnded, notice, [notice] {
            notice->setText(u"預覽的繪製程序已結束，下次更新時將重新啟動。"_s);
            notice->show();
        });
        connect(m_livePreview, &LivePreview::pageShown, notice, [notice](bool shown) {
            if (shown) notice->hide();
        });
    }
    if (!Splitter1 || on == Splitter1->isVisibleTo(TabSheet1)) return;
    if (on) {
        const int width = Memo1->width();
        page->replaceWidget(Memo1, Splitter1);
        Splitter1->insertWidget(0, Memo1);
        // Half the width each; the user moves the handle from there, and a
        // resized window keeps the proportion.
        Splitter1->setStretchFactor(0, 1);
        Splitter1->setStretchFactor(1, 1);
        Splitter1->setSizes({width / 2, width - width / 2});
        Splitter1->show();
    } else {
        page->replaceWidget(Splitter1, Memo1);
        Splitter1->hide();
    }
    m_livePreview->setActive(on);
    if (typing) Memo1->setFocus();
}

void TForm1::N58Click()
{
    const bool on = action("N58")->isChecked();
    markup::SetParagraphColouring(
        *Memo1, on ? markup::ParagraphColouring(TagFormats) : markup::ParagraphColouring());
    m_settings->setTagColours(on);
}
