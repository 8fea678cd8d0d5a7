#pragma once
// The commands that run without windows. Each gets its case in runHeadless(); the command
// itself lives in its own folder and knows nothing of the launcher.

#include "launcher/CommandLine.h"

namespace masumemo::launcher {

/// Runs the headless command that command names and gives the program's exit status.
int runHeadless(const CommandLine& command);

}  // namespace masumemo::launcher
