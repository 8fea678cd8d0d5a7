#pragma once
// The editor window. (Placeholder until the window is built.)

#include <QMainWindow>

namespace masumemo::editor {

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(QWidget* parent = nullptr);
};

}  // namespace masumemo::editor
