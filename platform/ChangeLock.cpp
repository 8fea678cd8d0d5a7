#include "ChangeLock.h"

namespace masumemo::platform {
namespace {

/// A change rereads and writes one small file: far less than this.
constexpr int kWaitMs = 5000;

}  // namespace

// Not the name QSettings locks its own file with while it syncs, which a change does inside
// this lock.
ChangeLock::ChangeLock(const QString& path) : m_lock(path + QStringLiteral(".change.lock"))
{
    m_lock.setStaleLockTime(kWaitMs * 2);
    m_locked = m_lock.tryLock(kWaitMs);
}

}  // namespace masumemo::platform
