#pragma once
// Start-up of the program's windows. (Placeholder until the chooser and registry are built.)

namespace masumemo::launcher {
int version();
}
