#include "Launcher.h"

namespace masumemo::launcher {
int version() { return 163; }
}
