#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTextBlock>
#include <QThreadPool>
#include <QTimer>

class QPlainTextEdit;
namespace convert {
class PreviewBrowser;
}

// Keeps a preview view beside the editing area showing the post as the
// preview tab would, a moment after typing pauses, scrolled to the caret's
// line. Nothing of it runs on a keystroke but restarting a timer: the line
// list is read between events a part at a time, the page is built on a
// thread of its own and the view loads it without waiting. While one page
// is on its way, later changes wait for it and go into the next one (a page
// that typing overtook while it was built is let go rather than loaded,
// unless the view's page is a while old); while the view is hidden nothing
// is built. A long post is shown in part: the
// paragraphs around the caret's, a few screens of them, with a line above
// and below saying that the post goes on; the part follows the caret.
class LivePreview : public QObject {
    Q_OBJECT
public:
    // How long typing must pause before the page follows.
    static constexpr int kPauseMs = 300;
    // Posts of this many characters and more are shown in part, about
    // kReach characters on each side of the caret's paragraph.
    static constexpr int kWholePostChars = 256 * 1024;
    static constexpr qsizetype kReach = 24 * 1024;

    LivePreview(QPlainTextEdit& memo, convert::PreviewBrowser& view, QObject* parent = nullptr);
    ~LivePreview() override;

    // On: the view shows the document now and follows it. Off: it is left
    // as it is and nothing more is built.
    void setActive(bool active);
    // The lines changed without an edit (word wrap switched, a new font).
    void linesChanged();

signals:
    // A page was handed to the view and has arrived (true) or failed.
    void pageShown(bool shown);
    // The engine's process drawing the view ended; the next page starts a
    // new one.
    void rendererEnded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Step { Idle, Choosing, Reading, Building, Loading };

    void startSoon();
    void start();
    void chosen(int first, int end, quint64 round);
    void readPart();
    void caretMoved();
    void build();
    void built(const QByteArray& page);
    void loaded(bool shown);
    void scrollToCaret();

    QPlainTextEdit& m_memo;
    convert::PreviewBrowser& m_view;
    const QObject* const m_memoViewport;  // watched for new widths
    const QObject* const m_viewWidget;    // watched for being shown
    QTimer m_pause;
    QTimer m_caretPause;
    QThreadPool m_builder;  // one thread
    bool m_active = false;
    bool m_stale = false;     // the document changed since the last page was read
    bool m_anyShown = false;  // the view holds a page of ours
    QElapsedTimer m_lastShown;  // since the view's page arrived
    Step m_step = Step::Idle;
    quint64 m_round = 0;  // counts the reads started; an edit ends the one under way
    QStringList m_lines;
    QTextBlock m_next;  // where the read goes on
    QTextBlock m_end;   // where it stops: invalid for the end of the post
    // The paragraphs of the page, [m_first, m_endParagraph), when it shows
    // only a part of the post.
    bool m_inPart = false;
    int m_first = 0;
    int m_endParagraph = 0;
};
