#pragma once

#include <QString>
#include <functional>
#include <memory>

class QLockFile;

// Each running copy of the program keeps its recovery copies in a folder of
// its own under one root, held by a lock for as long as that copy runs: the
// copies of a run are offered again only once it has ended without closing,
// never while it still runs. Starting and ending a run are serialised
// between the copies by a lock on the root.
class RecoveryRuns {
public:
    explicit RecoveryRuns(const QString &root);
    // The lock goes and the copies stay, as after a crash.
    ~RecoveryRuns();
    RecoveryRuns(const RecoveryRuns &) = delete;
    RecoveryRuns &operator=(const RecoveryRuns &) = delete;

    // Takes over the folder of the latest run that ended without closing and
    // left copies (folders of such runs left empty go), or else makes a
    // folder of its own. whileRegistered runs before any other copy may start
    // or end, whether or not a folder could be had. False when no folder
    // could be made or locked; begin() may be tried again later.
    bool begin(const std::function<void()> &whileRegistered = {});
    bool begun() const;
    // This run's folder; empty until begin() succeeded.
    QString folder() const;
    const QString &root() const { return m_root; }
    // The folder taken over at begin() holds a previous run's copies.
    bool inheritedCopies() const { return m_inherited; }
    // Ends this run: its folder goes unless keepCopies and it holds copies.
    // whileLocked is told whether this was the last copy running, before
    // any other copy may start or end.
    void end(bool keepCopies, const std::function<void(bool lastRun)> &whileLocked = {});

private:
    QString newFolderName() const;
    void letGoOfLock();
    bool othersRunning() const;
    bool takeOverLatestOrphan();

    QString m_root;
    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    bool m_inherited = false;
    bool m_tried = false;
};
