#pragma once

#include <QLockFile>
#include <QString>

#include <optional>

namespace ferlin {

// The mark that a program has a base open to change it: a lock file beside the base
// ("ferlin4.sqlite.lock"), held while the window is open or a conversion runs, and taken over
// when the program that held it is gone (a crash, a kill), however old it is.
class BaseLock {
public:
    explicit BaseLock(const QString &databasePath);

    // Takes the lock at once; false when a running program holds it. Where no lock can be
    // written at all (a folder the user may not write), there is nothing to share: true.
    bool tryLock();
    // The process number of the program that holds the lock (after tryLock failed), 0 unknown.
    qint64 holder() const;

    static QString lockPath(const QString &databasePath);
    // The process number of the program holding the base's lock now, if one does.
    static std::optional<qint64> holderOf(const QString &databasePath);

private:
    QLockFile m_file;
};

} // namespace ferlin
