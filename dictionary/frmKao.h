#pragma once
// The emoticon window Egaocho. (So far only its caption and its File menu.)

#include <QMainWindow>

namespace masumemo::dictionary {

class frmKao : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmKao(QWidget* parent = nullptr);

signals:
    /// "Masumemoを開く": the editor is wanted; whoever owns the windows shows it.
    void editorRequested();

private:
    void buildMenu();
    void mnuMojiOpen_Click();
    void mnuEnd_Click();
};

}  // namespace masumemo::dictionary
