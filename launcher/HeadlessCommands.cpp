#include "HeadlessCommands.h"

#include <cstdio>

namespace masumemo::launcher {

int runHeadless(const CommandLine& command)
{
    if (!command.exportFormat.isEmpty()) {
        std::fputs("--export: not built yet\n", stderr);
        return 1;
    }
    return kUsageErrorStatus;
}

}  // namespace masumemo::launcher
