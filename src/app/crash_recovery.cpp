#include "app/crash_recovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "platform/clock.h"
#include "platform/prompts.h"
#include "text/recovery_copy.h"
#include "text/recovery_folder.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// Characters read per turn of the event loop: a few milliseconds' work,
// where reading a 100 MB document whole would hold the window for most of a
// second.
constexpr int kSliceChars = 1 << 18;
// How long the news that copies are written again stays.
constexpr int kResumedNoticeMs = 10000;

// Opens (creating it if need be) and locks a lock file; -1 when another
// program holds it or it cannot be opened.
int TakeLock(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

void DropLock(const QString& path, int fd)
{
    ::unlink(QFile::encodeName(path).constData());
    ::close(fd);
}

QString LockPathOf(const QString& copyPath)
{
    return copyPath.chopped(int(sizeof(".recovery") - 1)) + u".lock"_s;
}

// The files in folder whose names end in suffix, in any case. Compared by
// hand: a name filter would have Qt compile a regular expression, the only
// one start-up would need.
QFileInfoList FilesEndingIn(const QString& folder, QStringView suffix, QDir::SortFlags sort)
{
    QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, sort);
    files.removeIf([suffix](const QFileInfo& file) {
        return !file.fileName().endsWith(suffix, Qt::CaseInsensitive);
    });
    return files;
}

}  // namespace

CrashRecovery::CrashRecovery(DocumentHost& host, platform::Prompts& prompts,
                             const platform::Clock* clock, QObject* parent)
    : QObject(parent),
      m_host(host),
      m_prompts(prompts),
      m_ownClock(clock ? nullptr : platform::MakeSystemClock()),
      m_clock(clock ? *clock : *m_ownClock),
      m_folder(text::RecoveryFolder()),
      m_id(u"%1-%2-%3"_s.arg(QCoreApplication::applicationPid())
               .arg(QDateTime::currentMSecsSinceEpoch(), 0, 16)
               .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0')))
{
    m_files.setMaxThreadCount(1);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kPauseMs);
    m_retry.setSingleShot(true);
    m_retry.setInterval(kMaxWaitMs);
    m_slicer.setInterval(0);
    // Without a place for copies the editor works on; the first copy that
    // cannot be written tells the user, and copies are tried again later.
    takeFolder();

    QTextDocument* const document = &m_host.hostedDocument();
    connect(document, &QTextDocument::contentsChange, this, &CrashRecovery::documentChanged);
    connect(document, &QTextDocument::modificationChanged, this,
            &CrashRecovery::modificationChanged);
    connect(&m_pause, &QTimer::timeout, this, &CrashRecovery::startSnapshot);
    connect(&m_retry, &QTimer::timeout, this, &CrashRecovery::startSnapshot);
    connect(&m_slicer, &QTimer::timeout, this, &CrashRecovery::takeSlice);
}

CrashRecovery::~CrashRecovery()
{
    m_pause.stop();
    m_retry.stop();
    m_slicer.stop();
    if (!active()) return;
    removeCopy();
    m_files.waitForDone();
    DropLock(m_folder + u'/' + m_id + u".lock"_s, m_lock);
}

bool CrashRecovery::takeFolder()
{
    if (active()) return true;
    // Unsaved text belongs to its user alone.
    if (QDir().mkpath(m_folder))
        QFile::setPermissions(
            m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_lock = TakeLock(m_folder + u'/' + m_id + u".lock"_s);
    return active();
}

qint64 CrashRecovery::nowMs() const
{
    return m_clock.now().toMSecsSinceEpoch();
}

void CrashRecovery::documentChanged(int position, int removed, int added)
{
    if (m_taking) patchSnapshot(position, removed, added);
    // Clearing the editing area resets the flag without a word.
    if (m_copyKept && !m_host.hostedDocument().isModified()) modificationChanged(false);
    const qint64 now = nowMs();
    // A clock set back starts the wait over.
    if (m_waitingSince < 0 || now < m_waitingSince) m_waitingSince = now;
    m_pause.start();
    // Typing that never pauses still gets its copy.
    if (now - m_waitingSince >= kMaxWaitMs) startSnapshot();
}

void CrashRecovery::modificationChanged(bool modified)
{
    if (modified) return;
    // Saved, discarded or undone back to the saved text: nothing to recover.
    m_pause.stop();
    m_retry.stop();
    dropSnapshot();
    m_waitingSince = -1;
    m_writeAgain = false;
    removeCopy();
}

void CrashRecovery::removeCopy()
{
    m_copyKept = false;
    if (active()) m_files.start([path = copyPath()] { QFile::remove(path); });
}

void CrashRecovery::startSnapshot()
{
    if (!m_host.hostedDocument().isModified()) {
        if (m_copyKept) removeCopy();
        return;
    }
    if (m_taking) return;  // the one on its way takes every change in
    if (m_writing) {
        m_writeAgain = true;
        return;
    }
    if (!takeFolder()) {
        writeFinished(false);
        return;
    }
    m_taking = true;
    m_next = 0;
    m_pieces.clear();
    m_snapshotFileName = m_host.currentFileName();
    m_snapshotEncoding = m_host.fileEncoding();
    m_slicer.start();
}

void CrashRecovery::dropSnapshot()
{
    m_slicer.stop();
    m_taking = false;
    m_next = 0;
    m_pieces.clear();
}

void CrashRecovery::patchSnapshot(int position, int removed, int added)
{
    if (position >= m_next) return;  // read later as it is then
    qsizetype piece = 0;
    int pieceStart = 0;
    while (pieceStart + m_pieces[piece].size() <= position) pieceStart += m_pieces[piece++].size();
    QString& text = m_pieces[piece];
    const int offset = position - pieceStart;
    const int end = m_host.hostedDocument().characterCount() - 1;
    if (position + removed <= pieceStart + text.size() && position + added <= end) {
        // Within one piece: only the changed characters are read again.
        QTextCursor changed(&m_host.hostedDocument());
        changed.setPosition(position);
        changed.setPosition(position + added, QTextCursor::KeepAnchor);
        text.replace(offset, removed, changed.selectedText());
        m_next += added - removed;
        return;
    }
    // Reaching past the piece, or past what was read: read again from there.
    text.truncate(offset);
    m_pieces.erase(m_pieces.begin() + piece + (text.isEmpty() ? 0 : 1), m_pieces.end());
    m_next = position;
}

void CrashRecovery::takeSlice()
{
    if (!m_taking) {
        m_slicer.stop();
        return;
    }
    QTextDocument* const document = &m_host.hostedDocument();
    const int end = document->characterCount() - 1;  // without the last block's end
    const int count = std::min(kSliceChars, end - m_next);
    if (count > 0) {
        QTextCursor slice(document);
        slice.setPosition(m_next);
        slice.setPosition(m_next + count, QTextCursor::KeepAnchor);
        m_pieces.append(slice.selectedText());
        m_next += count;
    }
    if (m_next < end) return;
    qsizetype length = 0;
    for (const QString& piece : std::as_const(m_pieces)) length += piece.size();
    if (length != end) {
        // An edit the document reported in a way the pieces could not follow.
        m_next = 0;
        m_pieces.clear();
        return;
    }

    m_slicer.stop();
    m_taking = false;
    m_writing = true;
    m_copyKept = true;
    // Whatever changes from here on waits for the next copy.
    m_waitingSince = -1;
    m_files.start([this, path = copyPath(), pieces = std::exchange(m_pieces, {}),
                   fileName = m_snapshotFileName, encoding = m_snapshotEncoding] {
        // A copy that cannot be written (a full disk) leaves the last one.
        const bool written = text::WriteRecoveryCopy(path, pieces, fileName, encoding);
        QMetaObject::invokeMethod(
            this, [this, written] { writeFinished(written); }, Qt::QueuedConnection);
    });
}

void CrashRecovery::writeFinished(bool written)
{
    m_writing = false;
    if (written && m_failing) {
        m_failing = false;
        m_host.showRecoveryNotice(u"已恢復寫入復原副本至 %1"_s.arg(m_folder));
        QTimer::singleShot(kResumedNoticeMs, this, [this] {
            if (!m_failing) m_host.showRecoveryNotice({});
        });
    } else if (!written) {
        if (!m_failing)
            m_host.showRecoveryNotice(
                u"無法寫入復原副本至 %1，未存檔的內容在當機時將無法還原"_s.arg(m_folder));
        m_failing = true;
        // The text the copy missed still waits for one.
        if (m_waitingSince < 0) m_waitingSince = nowMs();
        m_retry.start();
    }
    if (m_writeAgain) {
        m_writeAgain = false;
        startSnapshot();
    }
}

void CrashRecovery::offerLeftCopies()
{
    if (!active()) return;
    const QFileInfoList copies = FilesEndingIn(m_folder, u".recovery", QDir::Time);
    for (const QFileInfo& copy : copies) {
        if (copy.absoluteFilePath() == copyPath()) continue;
        if (offer(copy.absoluteFilePath())) break;
    }
    // The locks of programs that ended with nothing left to recover.
    const QFileInfoList locks = FilesEndingIn(m_folder, u".lock", QDir::NoSort);
    for (const QFileInfo& lock : locks) {
        const QString path = lock.absoluteFilePath();
        if (QFileInfo::exists(path.chopped(int(sizeof(".lock") - 1)) + u".recovery"_s)) continue;
        const int fd = TakeLock(path);
        if (fd >= 0) DropLock(path, fd);
    }
}

bool CrashRecovery::offer(const QString& copyFile)
{
    const QString lockPath = LockPathOf(copyFile);
    const int lock = TakeLock(lockPath);
    if (lock < 0) return false;  // its program still runs, or another one is asking
    // Read only once its lock is held: a program that asked about it before
    // has deleted it by now.
    const auto copy = text::ReadRecoveryCopy(copyFile);
    if (!copy) {
        if (!QFileInfo::exists(copyFile))
            DropLock(lockPath, lock);
        else
            ::close(lock);  // not ours to judge; left as it is
        return false;
    }
    if (!m_prompts.confirm(u"還原未存檔內容"_s, u"發現上次未儲存的內容，是否還原？"_s)) {
        QFile::remove(copyFile);
        DropLock(lockPath, lock);
        return false;
    }
    m_host.restoreDocument(copy->text, copy->fileName, copy->encoding);
    m_copyKept = true;
    // The copy becomes this program's own, after any removal of ours that
    // restoring the text has queued.
    m_files.start([copyFile, own = copyPath(), lockPath, lock] {
        ::rename(QFile::encodeName(copyFile).constData(), QFile::encodeName(own).constData());
        DropLock(lockPath, lock);
    });
    return true;
}
