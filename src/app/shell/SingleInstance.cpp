#include "shell/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zorv {

SingleInstance::SingleInstance(QString lockPath) : path_(std::move(lockPath)) {}

QString SingleInstance::defaultLockPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return dir + QStringLiteral("/Zorv.lock");
}

bool SingleInstance::acquire() {
    if (held_) return true;
    QDir().mkpath(QFileInfo(path_).absolutePath());
    lock_ = std::make_unique<QLockFile>(path_);
    // A lock is never stale by age while its program runs; tryLock() removes
    // it only when its owner process is gone.
    lock_->setStaleLockTime(0);
    held_ = lock_->tryLock(0);
    if (!held_) lock_.reset();
    return held_;
}

}  // namespace zorv
