#include "frmMain.h"

namespace masumemo::editor {

frmMain::frmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("住所不定 - Masumemo"));
}

}  // namespace masumemo::editor
