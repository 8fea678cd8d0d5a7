#pragma once
// A lock that two copies of the program take in turn before they change a settings file that
// both keep lists in (masuedit.ini, kaomoji.ini, the program's own settings): each reads the
// file again under the lock, applies just its own change and writes, so neither loses the
// other's change.

#include <QLockFile>
#include <QString>

namespace masumemo::platform {

class ChangeLock
{
public:
    /// Takes the lock of the file at path (a lock file beside it), waiting a few seconds for
    /// another holder; a lock left behind by a program that ended is taken over.
    explicit ChangeLock(const QString& path);
    /// False when the lock could not be taken in time (or its folder cannot be written): the
    /// change goes ahead anyway, as it did before there was a lock.
    bool locked() const { return m_locked; }

private:
    QLockFile m_lock;
    bool m_locked = false;
};

}  // namespace masumemo::platform
