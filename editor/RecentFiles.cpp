#include "RecentFiles.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

#include <utility>

#include "platform/ProgramSettings.h"

namespace masumemo::editor {
namespace {

const QString kKey = QStringLiteral("RecentFiles/Files");

bool isThere(const QString& path)
{
    return QFileInfo(path).isFile();
}

/// A stored list through the same rule as a new entry, so a hand-edited list is still bounded.
QStringList bounded(const QStringList& stored);

}  // namespace

QStringList withRecentFile(QStringList list, const QString& path)
{
    list.removeAll(path);
    list.prepend(path);
    while (list.size() > kRecentFileCount) {
        list.removeLast();
    }
    return list;
}

RecentFiles::RecentFiles(QMenu& menu, std::function<void(const QString&)> open)
    : QObject(&menu), m_menu(menu), m_open(std::move(open))
{
    m_files = bounded(platform::openProgramSettings()->value(kKey).toStringList());
    connect(&m_menu, &QMenu::aboutToShow, this, &RecentFiles::rebuildMenu);
    rebuildMenu();
}

void RecentFiles::add(const QString& path)
{
    if (withRecentFile(m_files, QFileInfo(path).absoluteFilePath()) == m_files) {
        return;  // saving the same file again: the settings file is not written at every save
    }
    const QString added = QFileInfo(path).absoluteFilePath();
    store([&added](QStringList& list) { list = withRecentFile(list, added); });
    rebuildMenu();
}

void RecentFiles::store(const std::function<void(QStringList&)>& change)
{
    // Applied to the list as the file holds it now: another copy of the program may have added
    // files since this one read it.
    m_files = bounded(platform::changeProgramList(kKey, change));
}

namespace {

QStringList bounded(const QStringList& stored)
{
    QStringList files;
    for (auto it = stored.crbegin(); it != stored.crend(); ++it) {
        if (!it->isEmpty()) {
            files = withRecentFile(files, *it);
        }
    }
    return files;
}

}  // namespace

void RecentFiles::rebuildMenu()
{
    m_menu.clear();
    bool missing = false;
    for (int i = 0; i < m_files.size(); ++i) {
        const QString path = m_files[i];
        // "&&" keeps an ampersand in a path from becoming a mnemonic.
        QString shown = QDir::toNativeSeparators(path);
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = m_menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
        a->setObjectName(QStringLiteral("mnuFileRecent_%1").arg(i));
        const bool there = isThere(path);
        a->setEnabled(there);
        missing = missing || !there;
        connect(a, &QAction::triggered, this, [this, path] { m_open(path); });
    }
    if (m_files.isEmpty()) {
        m_menu.addAction(QStringLiteral("（なし）"))->setEnabled(false);
    }
    m_menu.addSeparator();
    QAction* prune = m_menu.addAction(QStringLiteral("見つからないファイルを一覧から削除(&D)"));
    prune->setObjectName(QStringLiteral("mnuFileRecentPrune"));
    prune->setEnabled(missing);
    connect(prune, &QAction::triggered, this, [this] {
        store(
            [](QStringList& list) { list.removeIf([](const QString& p) { return !isThere(p); }); });
        rebuildMenu();
    });
    QAction* clear = m_menu.addAction(QStringLiteral("一覧を消去(&C)"));
    clear->setObjectName(QStringLiteral("mnuFileRecentClear"));
    clear->setEnabled(!m_files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        store([](QStringList& list) { list.clear(); });
        rebuildMenu();
    });
}

}  // namespace masumemo::editor
