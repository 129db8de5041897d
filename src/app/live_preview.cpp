#include "app/live_preview.h"

#include <QDeadlineTimer>
#include <QEvent>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextDocument>
#include <QWidget>
#include <algorithm>

#include "convert/preview_browser.h"
#include "convert/preview_page.h"
#include "convert/preview_window.h"
#include "markup/editor_lines.h"
#include "markup/row_index.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A part of the line list read in one turn of the event loop.
constexpr int kReadPartMs = 8;
// A caret moved without typing: the view follows once it rests a moment.
constexpr int kCaretPauseMs = 150;
// Lines of a post marked for the scrolling at most, about (see build()).
constexpr int kMarkedLines = 20000;
// A page built while typing went on is already behind; it is let go, the
// next pause bringing a newer one, while the view's page is this recent.
constexpr int kFreshMs = 2000;

}  // namespace

LivePreview::LivePreview(QPlainTextEdit& memo, convert::PreviewBrowser& view, QObject* parent)
    : QObject(parent),
      m_memo(memo),
      m_view(view),
      m_memoViewport(memo.viewport()),
      m_viewWidget(view.widget())
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    connect(&m_pause, &QTimer::timeout, this, &LivePreview::start);
    m_caretPause.setSingleShot(true);
    m_caretPause.setInterval(kCaretPauseMs);
    connect(&m_caretPause, &QTimer::timeout, this, [this] {
        if (m_step != Step::Loading && m_anyShown) scrollToCaret();
    });
    m_builder.setMaxThreadCount(1);

    connect(memo.document(), &QTextDocument::contentsChange, this, &LivePreview::linesChanged);
    // Rows counted anew: the highlighting broke lines elsewhere.
    connect(&markup::RowIndex::of(memo), &markup::RowIndex::progressed, this,
            &LivePreview::linesChanged);
    connect(&memo, &QPlainTextEdit::cursorPositionChanged, this, &LivePreview::caretMoved);
    view.OnRendererEnded([self = QPointer<LivePreview>(this)] {
        if (!self) return;
        // Whatever it showed is gone: the next update shows the post again.
        self->m_stale = true;
        emit self->rendererEnded();
    });
    view.widget()->installEventFilter(this);
    // A new width wraps the lines elsewhere.
    memo.viewport()->installEventFilter(this);
}

LivePreview::~LivePreview()
{
    // A page still being built is let finish; what it reports back is
    // dropped with this object.
    m_builder.clear();
    m_builder.waitForDone();
}

void LivePreview::setActive(bool active)
{
    m_active = active;
    if (!active) {
        m_pause.stop();
        m_caretPause.stop();
        if (m_step == Step::Reading || m_step == Step::Choosing) m_step = Step::Idle;
        ++m_round;
        // Out of sight until ticked again: what the engine holds for the
        // page goes back to the system.
        m_view.Release();
        m_anyShown = false;
        m_stale = true;
        return;
    }
    m_stale = true;
    start();
}

void LivePreview::linesChanged()
{
    if (!m_active) return;
    m_stale = true;
    // A read under way would mix old lines with new ones.
    if (m_step == Step::Reading || m_step == Step::Choosing) {
        m_step = Step::Idle;
        ++m_round;
        m_lines.clear();
    }
    startSoon();
}

void LivePreview::startSoon()
{
    m_pause.start();
}

bool LivePreview::eventFilter(QObject* watched, QEvent* event)
{
    // Only compared, never called: the window's widgets go one by one when
    // it closes, and a view on its way out still sends events here.
    if (event->type() == QEvent::Resize && watched == m_memoViewport) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->oldSize().width() != resize->size().width() &&
            m_memo.lineWrapMode() != QPlainTextEdit::NoWrap)
            linesChanged();
    } else if (event->type() == QEvent::Show && watched == m_viewWidget && m_active && m_stale) {
        // Shown again (its tab chosen, the item ticked): what changed meanwhile.
        startSoon();
    }
    return QObject::eventFilter(watched, event);
}

void LivePreview::caretMoved()
{
    if (!m_active) return;
    m_caretPause.start();
    // Out of the part shown: the part around it instead.
    if (!m_inPart) return;
    const int paragraph = m_memo.textCursor().blockNumber();
    if (paragraph < m_first || paragraph >= m_endParagraph) {
        m_stale = true;
        startSoon();
    }
}

void LivePreview::start()
{
    if (!m_active || !m_stale || m_step != Step::Idle || !m_view.widget()->isVisible()) return;
    m_stale = false;
    m_lines.clear();
    ++m_round;
    QTextDocument* const document = m_memo.document();
    if (document->characterCount() < kWholePostChars) {
        m_inPart = false;
        m_step = Step::Reading;
        m_next = document->begin();
        m_end = {};
        readPart();
        return;
    }
    // Which part, on the builder's thread: where the tag pairs are open
    // takes a pass over the whole post.
    m_step = Step::Choosing;
    m_builder.start([this, text = document->toPlainText(),
                     caret = m_memo.textCursor().blockNumber(), round = m_round] {
        const convert::PreviewWindow part = convert::ChoosePreviewWindow(text, caret, kReach);
        QMetaObject::invokeMethod(
            this, [this, part, round] { chosen(part.first, part.end, round); },
            Qt::QueuedConnection);
    });
}

void LivePreview::chosen(int first, int end, quint64 round)
{
    if (round != m_round || m_step != Step::Choosing) return;
    const QTextDocument* const document = m_memo.document();
    m_inPart = true;
    m_first = first;
    m_endParagraph = end;
    m_step = Step::Reading;
    m_next = document->findBlockByNumber(first);
    m_end = document->findBlockByNumber(end);
    if (first > 0) m_lines.append(u"（文章較長，這裡只預覽游標附近；前面還有 %1 段）"_s.arg(first));
    readPart();
}

void LivePreview::readPart()
{
    m_next =
        markup::AppendDisplayedLines(m_memo, m_next, m_lines, QDeadlineTimer(kReadPartMs), m_end);
    if (!m_next.isValid()) {
        const int after = m_memo.document()->blockCount() - m_endParagraph;
        if (m_inPart && after > 0) m_lines.append(u"（後面還有 %1 段）"_s.arg(after));
        build();
        return;
    }
    // The rest after the events that came meanwhile; an edit among them
    // ends this read (see linesChanged).
    QTimer::singleShot(0, this, [this, round = m_round] {
        if (round == m_round && m_step == Step::Reading) readPart();
    });
}

void LivePreview::build()
{
    m_step = Step::Building;
    // Every line marked makes the page half as large again; a long post gets
    // fewer marks, the engine's time going with the page's size.
    const int step = 1 + int(m_lines.size() / kMarkedLines);
    m_builder.start([this, lines = std::move(m_lines), step] {
        const QByteArray page =
            convert::PreviewPageBytes(convert::BuildPreviewPageLines(lines, step));
        QMetaObject::invokeMethod(
            this, [this, page] { built(page); }, Qt::QueuedConnection);
    });
    m_lines = {};
}

void LivePreview::built(const QByteArray& page)
{
    const bool behind = m_stale && m_pause.isActive() && m_anyShown &&
                        m_lastShown.isValid() && m_lastShown.elapsed() < kFreshMs;
    if (!m_active || behind) {
        // Nothing for the engine to load while the user types.
        m_step = Step::Idle;
        return;
    }
    m_step = Step::Loading;
    m_view.ShowPage(page, [self = QPointer<LivePreview>(this)](bool shown) {
        if (self) self->loaded(shown);
    });
}

void LivePreview::loaded(bool shown)
{
    m_step = Step::Idle;
    m_anyShown = true;
    if (shown) m_lastShown.start();
    if (m_active) scrollToCaret();
    emit pageShown(shown);
    // Typing went on while this page was on its way and has paused since.
    if (m_stale && !m_pause.isActive()) start();
}

void LivePreview::scrollToCaret()
{
    markup::RowIndex& rows = markup::RowIndex::of(m_memo);
    const auto caretRow = rows.rowOfSoon(m_memo.textCursor().position());
    if (!caretRow) return;
    int row = caretRow->row;
    if (m_inPart) {
        // Counted from the part's first row, after the line above it.
        const int first = m_memo.document()->findBlockByNumber(m_first).position();
        const auto firstRow = rows.rowOfSoon(first);
        if (!firstRow || row < firstRow->row) return;
        row += -firstRow->row + (m_first > 0 ? 1 : 0);
    }
    // The caret's line keeps its height: as far down the view as the caret
    // is down the editing area.
    const int height = std::max(1, m_memo.viewport()->height());
    const double fraction = std::clamp(double(m_memo.cursorRect().top()) / height, 0.0, 1.0);
    m_view.ScrollToLine(row, fraction);
}
