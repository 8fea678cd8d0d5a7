#pragma once
// The resident memory of the benchmark's own process, for the memory rows.

#include <QByteArray>
#include <QFile>

namespace masumemo::bench {

/// VmRSS of this process in kB, from /proc/self/status; 0 when it cannot be read.
inline long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

}  // namespace masumemo::bench
