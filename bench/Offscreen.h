#pragma once
// Widget benchmarks run without a display unless one is asked for: the offscreen platform
// unless QT_QPA_PLATFORM says otherwise. Call before the application object is made.

#include <QtGlobal>

namespace masumemo::bench {

inline void offscreenUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

}  // namespace masumemo::bench
