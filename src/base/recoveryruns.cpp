#include "base/recoveryruns.h"

#include "base/atomicfile.h"
#include "base/recoverystore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <vector>

namespace {

const QString runPrefix = QStringLiteral("run-");
const QString runLockName = QStringLiteral("run.lock");
const QString rootLockName = QStringLiteral("runs.lock");
// Another copy holds the root's lock only while it starts or ends; one that
// hangs longer is not waited for.
constexpr int rootLockWaitMs = 3000;

// A run's lock lasts as long as the run: only a dead holder makes it stale.
std::unique_ptr<QLockFile> runLockOf(const QString &folder) {
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(runLockName));
    lock->setStaleLockTime(0);
    return lock;
}

// Held while a copy starts or ends, so that two copies never both take the
// same folder, nor both believe the other still runs.
class RootLock {
public:
    explicit RootLock(const QString &root) : m_lock(QDir(root).filePath(rootLockName)) {
        m_lock.setStaleLockTime(0);
        if (QDir().mkpath(root)) m_lock.tryLock(rootLockWaitMs);
    }

private:
    QLockFile m_lock;
};

QStringList runFolders(const QString &root) {
    QStringList folders;
    const QDir dir(root);
    for (const QString &name : dir.entryList({runPrefix + QLatin1Char('*')},
                                             QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden))
        folders << dir.filePath(name);
    return folders;
}

// Our copies, the temporaries of a write cut short, the lock: a folder that
// holds anything else stays.
void removeRunFolder(const QString &folder) {
    RecoveryStore(folder).removeAll();
    QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        if (atomicfile::isOurTemporary(name) || name == runLockName) dir.remove(name);
    }
    QDir().rmdir(folder);
}

QDateTime latestCopyOf(const QList<RecoveryCopy> &copies) {
    QDateTime latest;
    for (const RecoveryCopy &copy : copies) {
        if (!latest.isValid() || copy.copiedAt > latest) latest = copy.copiedAt;
    }
    return latest;
}

} // namespace

RecoveryRuns::RecoveryRuns(const QString &root) : m_root(root) {}

RecoveryRuns::~RecoveryRuns() {
    letGoOfLock();
}

void RecoveryRuns::letGoOfLock() {
    if (!m_lock) return;
    // A folder removed by hand while the run went on: its lock file is put
    // back so that letting go of it goes quietly.
    const QString lockPath = m_lock->fileName();
    if (!QFileInfo::exists(lockPath) && QDir().mkpath(m_folder)) {
        QFile placeholder(lockPath);
        placeholder.open(QIODevice::WriteOnly);
    }
    m_lock.reset();
}

bool RecoveryRuns::begun() const {
    return m_lock != nullptr;
}

QString RecoveryRuns::folder() const {
    return m_folder;
}

QString RecoveryRuns::newFolderName() const {
    return runPrefix + QString::number(QDateTime::currentMSecsSinceEpoch()) + QLatin1Char('-') +
           QString::number(QCoreApplication::applicationPid());
}

bool RecoveryRuns::begin(const std::function<void()> &whileRegistered) {
    const RootLock serialised(m_root);
    // Copies left by runs that end while this one goes on wait for a later
    // start: taking them over now would hide them from the user.
    const bool firstBegin = !m_tried;
    m_tried = true;
    if (!m_lock && !(firstBegin && takeOverLatestOrphan())) {
        const QString name = newFolderName();
        for (int attempt = 0; attempt < 100 && !m_lock; ++attempt) {
            const QString folder = QDir(m_root).filePath(
                attempt == 0 ? name : name + QLatin1Char('-') + QString::number(attempt));
            if (QFileInfo::exists(folder)) continue;
            if (!QDir().mkdir(folder)) break;
            auto lock = runLockOf(folder);
            if (!lock->tryLock(0)) {
                QDir().rmdir(folder);
                break;
            }
            m_lock = std::move(lock);
            m_folder = folder;
        }
    }
    if (whileRegistered) whileRegistered();
    return begun();
}

bool RecoveryRuns::takeOverLatestOrphan() {
    struct Orphan {
        QString folder;
        std::unique_ptr<QLockFile> lock;
        QDateTime latest;
    };
    std::vector<Orphan> orphans;
    for (const QString &folder : runFolders(m_root)) {
        auto lock = runLockOf(folder);
        // Held: that copy still runs, its copies are its own.
        if (!lock->tryLock(0)) continue;
        const QList<RecoveryCopy> copies = RecoveryStore(folder).copies();
        if (copies.isEmpty()) {
            lock->unlock();
            removeRunFolder(folder);
            continue;
        }
        orphans.push_back({folder, std::move(lock), latestCopyOf(copies)});
    }
    if (orphans.empty()) return false;
    auto latest = orphans.begin();
    for (auto it = orphans.begin(); it != orphans.end(); ++it) {
        if (it->latest > latest->latest) latest = it;
    }
    // The others are let go, offered one at a time at the next starts.
    m_folder = latest->folder;
    m_lock = std::move(latest->lock);
    m_inherited = true;
    return true;
}

bool RecoveryRuns::othersRunning() const {
    for (const QString &folder : runFolders(m_root)) {
        if (folder == m_folder) continue;
        auto lock = runLockOf(folder);
        if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError) return true;
    }
    return false;
}

void RecoveryRuns::end(bool keepCopies, const std::function<void(bool lastRun)> &whileLocked) {
    const RootLock serialised(m_root);
    if (m_lock) {
        const bool keep = keepCopies && !RecoveryStore(m_folder).copies().isEmpty();
        letGoOfLock();
        if (!keep) removeRunFolder(m_folder);
        m_folder.clear();
    }
    if (whileLocked) whileLocked(!othersRunning());
}
