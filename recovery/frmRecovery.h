#pragma once
// The window "復元": the pictures a program that ended without saving them left behind, each
// with its file (or 住所不定), the time of its snapshot and its first lines; bad snapshots are
// listed as such. The tool decides what restoring and discarding do; the window only lists.

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace masumemo::recovery {

class frmRecovery : public QDialog
{
    Q_OBJECT
public:
    struct Row
    {
        QString instance;
        QString name;     ///< the file name, 住所不定, or what is wrong with a bad snapshot
        QString path;     ///< shown when the pointer rests on the name
        QString time;
        QString preview;  ///< the first lines, one per line
        bool restorable = false;
    };
    /// act answers whether a row's snapshot is gone (restored or discarded): its row goes, and
    /// the window closes with the last one.
    using Act = std::function<bool(const QString& instance)>;

    frmRecovery(QWidget* parent, const std::vector<Row>& rows, Act restore, Act discard);

    int rowCount() const;

private:
    void cmdRestore_Click();
    void cmdDiscard_Click();
    void selectionChanged();
    /// The instance of the chosen row; empty when none.
    QString chosen() const;
    void dropChosen();

    QTreeWidget* m_list;
    QPushButton* m_restore;
    QPushButton* m_discard;
    Act m_restoreAct;
    Act m_discardAct;
};

}  // namespace masumemo::recovery
