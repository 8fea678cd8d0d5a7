#include "frmKao.h"

namespace masumemo::dictionary {

frmKao::frmKao(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmKao"));
    setWindowTitle(QStringLiteral("Egaocho"));
}

}  // namespace masumemo::dictionary
