#pragma once
// The emoticon window Egaocho. (Placeholder until the window is built.)

#include <QMainWindow>

namespace masumemo::dictionary {

class frmKao : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmKao(QWidget* parent = nullptr);
};

}  // namespace masumemo::dictionary
