#pragma once
// One running program per user: a lock file in the user's runtime folder,
// held while the program runs. A lock left by a crashed program is stale and
// is taken over.

#include <QLockFile>
#include <QString>
#include <memory>

namespace zorv {

class SingleInstance {
public:
    explicit SingleInstance(QString lockPath);
    // The lock file of this user's session.
    static QString defaultLockPath();

    // True when this process now holds the lock (or held it already).
    bool acquire();
    bool held() const { return held_; }
    const QString& path() const { return path_; }

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};

}  // namespace zorv
