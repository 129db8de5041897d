#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <memory>
#include <optional>

#include "app/document_host.h"
#include "text/document_file.h"

namespace platform {
class Clock;
class Prompts;
}  // namespace platform

// Keeps this program's recovery copy of the hosted document in the recovery
// folder, and offers the copies that programs no longer running
// left there.
//
// Each running program has its own copy, "<id>.recovery", and holds a lock on
// "<id>.lock" for as long as it runs; the system drops the lock when the
// program ends, however it ends, so a copy whose lock can be taken was left
// behind. The copy is written once typing has paused, and while it goes on
// without a pause at least every few seconds: the document is read in short
// slices between events (what an edit changes in the part already read is
// read again), and the file is written on a thread of its own, so typing
// never waits for it. It is removed when the document is saved or discarded
// and when the program ends normally. When no copy can be written (a full
// disk, a folder that cannot be written) the host says so, once, and again
// once copies are written again.
class CrashRecovery : public QObject {
    Q_OBJECT
public:
    static constexpr int kPauseMs = 1500;
    // The longest a change waits for a copy while typing goes on: with the
    // time the copy takes to reach the disk, a kill loses at most the last
    // five seconds.
    static constexpr int kMaxWaitMs = 4000;

    // `clock` (the system's when none is given) times the longest wait.
    CrashRecovery(DocumentHost& host, platform::Prompts& prompts,
                  const platform::Clock* clock = nullptr, QObject* parent = nullptr);
    ~CrashRecovery() override;

    // Asks about each copy left by a program that no longer runs, newest
    // first, until one is restored. A restored copy becomes this program's
    // own; a declined one is deleted. Either way it is never offered again.
    void offerLeftCopies();

    // This program's copy; it exists only while there is something to recover.
    QString copyPath() const { return m_folder + u'/' + m_id + QStringLiteral(".recovery"); }
    bool active() const { return m_lock >= 0; }

private:
    bool takeFolder();
    void documentChanged(int position, int removed, int added);
    void modificationChanged(bool modified);
    void startSnapshot();
    void dropSnapshot();
    // Brings the part of the snapshot already read up to date with an edit.
    void patchSnapshot(int position, int removed, int added);
    void takeSlice();
    void writeFinished(bool written);
    void removeCopy();
    qint64 nowMs() const;
    // Asks about one left copy; true when it was restored.
    bool offer(const QString& copy);

    DocumentHost& m_host;
    platform::Prompts& m_prompts;
    std::unique_ptr<platform::Clock> m_ownClock;
    const platform::Clock& m_clock;
    QString m_folder;
    QString m_id;
    int m_lock = -1;
    QThreadPool m_files;  // one thread: writes and removals keep their order
    QTimer m_pause;
    QTimer m_retry;  // while copies fail
    QTimer m_slicer;
    // When the oldest change that no copy holds was made; -1: none waits.
    qint64 m_waitingSince = -1;
    // The snapshot being read: the document's text up to m_next, in pieces
    // of at most a slice each.
    bool m_taking = false;
    int m_next = 0;
    QStringList m_pieces;
    QString m_snapshotFileName;
    text::FileEncoding m_snapshotEncoding = text::FileEncoding::Big5;
    bool m_copyKept = false;  // a copy is written or on its way
    bool m_writing = false;
    bool m_writeAgain = false;
    bool m_failing = false;  // the last copy could not be written
};
