#pragma once
// The parts window "AA素材": the folders of the collection with their parts files, the parts of
// the chosen file, a preview in the canvas font and a search across the collection. A part is
// laid over the canvas, copied, or opened as a new canvas; the canvas's selection is added to a
// file as a new part. It works beside the editor, not modal, through the PartsCanvas interface.

#include <QWidget>

#include <memory>

#include "library/LibraryIndex.h"
#include "library/PartListModel.h"

class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class QTreeView;

namespace masumemo::library {

class PartsCanvas;

class frmLibrary : public QWidget
{
    Q_OBJECT
public:
    /// The settings key of the remembered folders (the program's own settings file).
    static constexpr const char* kFoldersKey = "Library/Folders";

    /// Opens on the remembered folders and starts indexing them; canvas is the canvas the
    /// commands act on.
    explicit frmLibrary(std::unique_ptr<PartsCanvas> canvas, QWidget* parent = nullptr);
    ~frmLibrary() override;

    /// Shows path (a folder or one file) in the collection for this session, without
    /// remembering it, and chooses it.
    void openOn(const QString& path);

    /// The remembered folders.
    const QStringList& folders() const { return m_folders; }
    LibraryIndex& index() { return m_index; }
    PartListModel& parts() { return *m_parts; }
    /// The part chosen in the list ({-1, -1} when none).
    PartRef currentPart() const;
    /// Chooses file (an index of index()) in the file list.
    void chooseFile(int file);
    /// Chooses row of the part list.
    void choosePart(int row);
    /// The wait after typing before the search starts (ms); tests set 0.
    void setSearchDelay(int ms);

    // The commands.
    void insertPart();
    void copyPart();
    void openPartAsNew();
    void addToParts();
    void addFolder();
    void removeFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void restart();
    /// The remembered folders from the list the settings file holds.
    void takeFolders(const QStringList& stored);
    /// Adds and removes one folder (either may be empty) in the settings file.
    void changeFolders(const QString& added, const QString& removed);
    void showFileList();
    void showFileState(int file);
    void showStatus();
    void onFileChosen();
    void onPartChosen();
    void onFileIndexed(int file);
    void startSearch();
    /// The file chosen in the file list, or -1 (none, or a folder).
    int chosenFile() const;
    /// Appends part to the file at path; false (and the user told why) when it was not.
    bool appendPart(const QString& path, pagefile::PartsFormat format, const pagefile::Part& part);
    /// The chosen part's text; a message when it cannot be read.
    std::optional<std::u16string> chosenText();
    void choosePending();
    void unwatch();
    QStandardItem* fileItem(int file) const;

    std::unique_ptr<PartsCanvas> m_canvas;
    LibraryIndex m_index;
    PartListModel* m_parts = nullptr;
    QStandardItemModel* m_files = nullptr;
    QVector<QStandardItem*> m_fileItems;  ///< the item of each file of the index
    QStringList m_folders;
    QStringList m_sessionRoots;
    /// A file (and part) to choose once it is in the list.
    QString m_pendingPath;
    int m_pendingPart = -1;

    QLineEdit* m_txtSearch = nullptr;
    QTreeView* m_tvwFiles = nullptr;
    QListView* m_lstParts = nullptr;
    QPlainTextEdit* m_txtPreview = nullptr;
    QLabel* m_lblStatus = nullptr;
    QTimer* m_searchTimer = nullptr;
    QFileSystemWatcher* m_watcher = nullptr;
};

}  // namespace masumemo::library
