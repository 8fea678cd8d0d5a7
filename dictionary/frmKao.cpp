#include "frmKao.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/Twips.h"

namespace masumemo::dictionary {

frmKao::frmKao(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmKao"));
    setWindowTitle(QStringLiteral("Egaocho"));
    resize(platform::pxSize(2700, 1800));
    buildMenu();
}

void frmKao::buildMenu()
{
    QMenu* mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const auto item = [&](const char* name, const QString& caption) {
        QAction* action = mnuFile->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    item("mnuAdd", QStringLiteral("新しいファイルをリストに追加(&A)..."));
    item("mnuDel", QStringLiteral("選択中のファイルをリストから削除(&D)..."));
    item("mnuEdit", QStringLiteral("選択中のファイルの内容を編集(&E)..."));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnubar"));
    connect(item("mnuMojiOpen", QStringLiteral("Masumemoを開く(&M)...")), &QAction::triggered, this,
            &frmKao::mnuMojiOpen_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnubar1"));
    connect(item("mnuEnd", QStringLiteral("終了(&X)")), &QAction::triggered, this,
            &frmKao::mnuEnd_Click);
}

void frmKao::mnuMojiOpen_Click()
{
    emit editorRequested();
}

void frmKao::mnuEnd_Click()
{
    close();
}

}  // namespace masumemo::dictionary
