#pragma once
// The File menu's list of recently opened or saved files, newest first, kept in the program's
// own settings. Files that have gone are shown greyed and can be cleared from the list.

#include <QObject>
#include <QStringList>
#include <functional>

class QMenu;

namespace masumemo::editor {

/// How many files the list keeps.
inline constexpr int kRecentFileCount = 8;

/// list with path moved (or added) to the front, at most kRecentFileCount entries.
QStringList withRecentFile(QStringList list, const QString& path);

class RecentFiles : public QObject
{
    Q_OBJECT
public:
    /// menu: the submenu to fill (rebuilt each time it opens). open: called with the chosen
    /// path.
    RecentFiles(QMenu& menu, std::function<void(const QString&)> open);

    /// A file was opened or saved.
    void add(const QString& path);
    QStringList files() const { return m_files; }
    /// Rewrites the menu from the list, checking which files still exist.
    void rebuildMenu();

private:
    /// Applies change to the stored list and shows the result.
    void store(const std::function<void(QStringList&)>& change);

    QMenu& m_menu;
    std::function<void(const QString&)> m_open;
    QStringList m_files;
};

}  // namespace masumemo::editor
