#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <QTimer>
#include <optional>

#include "app/document_host.h"
#include "text/document_file.h"

namespace platform {
class Prompts;
}

// Keeps this program's recovery copy of the hosted document in the recovery
// folder, and offers the copies that programs no longer running
// left there.
//
// Each running program has its own copy, "<id>.recovery", and holds a lock on
// "<id>.lock" for as long as it runs; the system drops the lock when the
// program ends, however it ends, so a copy whose lock can be taken was left
// behind. The copy is written once typing has paused: the document is read
// in short slices between events (a change in between starts over later), and
// the file is written on a thread of its own, so typing never waits for it.
// It is removed when the document is saved or discarded and when the program
// ends normally.
class CrashRecovery : public QObject {
    Q_OBJECT
public:
    static constexpr int kPauseMs = 1500;

    CrashRecovery(DocumentHost& host, platform::Prompts& prompts, QObject* parent = nullptr);
    ~CrashRecovery() override;

    // Asks about each copy left by a program that no longer runs, newest
    // first, until one is restored. A restored copy becomes this program's
    // own; a declined one is deleted. Either way it is never offered again.
    void offerLeftCopies();

    // This program's copy; it exists only while there is something to recover.
    QString copyPath() const { return m_folder + u'/' + m_id + QStringLiteral(".recovery"); }
    bool active() const { return m_lock >= 0; }

private:
    void documentChanged();
    void modificationChanged(bool modified);
    void startSnapshot();
    void takeSlice();
    void writeFinished();
    void removeCopy();
    // Asks about one left copy; true when it was restored.
    bool offer(const QString& copy);

    DocumentHost& m_host;
    platform::Prompts& m_prompts;
    QString m_folder;
    QString m_id;
    int m_lock = -1;
    QThreadPool m_files;  // one thread: writes and removals keep their order
    QTimer m_pause;
    QTimer m_slicer;
    quint64 m_revision = 0;  // counts document changes
    // The snapshot being read.
    bool m_taking = false;
    quint64 m_snapshotRevision = 0;
    int m_next = 0;
    QStringList m_pieces;
    QString m_snapshotFileName;
    text::FileEncoding m_snapshotEncoding = text::FileEncoding::Big5;
    bool m_copyKept = false;  // a copy is written or on its way
    bool m_writing = false;
    bool m_writeAgain = false;
};
