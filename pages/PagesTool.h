#pragma once
// Documents of pages in the editor: the page list "ﾍﾟｰｼﾞ" beside the canvas (shown while the
// document has more than one page, or by View > "ﾍﾟｰｼﾞ一覧(&P)"), the "ﾍﾟｰｼﾞ(&G)" menu whose
// commands are also the list's context menu, and posting a story page by page.
//
// Page commands are undone by the page menu's own "元に戻す": Ctrl+Z stays with the canvas's
// history of the page shown, so one key never means two histories.

#include <QObject>

class QAction;
class QTreeView;
class QWidget;

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::pages {

class PageListModel;

class PagesTool final : public QObject
{
    Q_OBJECT
public:
    PagesTool(host::ToolHost& host, QObject* parent);

    /// The list of pages (inside the panel).
    QTreeView* list() const { return m_list; }
    /// Whether the panel is shown.
    bool panelShown() const;
    QAction* action(const char* name) const;

    // The commands, as the menu runs them.
    void previousPage();
    void nextPage();
    /// Asks first when the page is not blank.
    void deletePage();
    void renamePage();
    void splitAtCaret();
    void mergeWithNext();
    /// The shown page on the clipboard as "整えてｺﾋﾟｰ" puts it, and the next page shown.
    void copyForPostingAndNext();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createActions();
    void showPanel(bool shown);
    void followDocument();
    void updateActions();

    host::ToolHost& m_host;
    PageListModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
    QWidget* m_panel = nullptr;
    QAction* m_viewAction = nullptr;
    /// The panel was asked for by the View menu while the document had one page.
    bool m_pinned = false;
    bool m_many = false;
    bool m_following = false;
};

}  // namespace masumemo::pages
