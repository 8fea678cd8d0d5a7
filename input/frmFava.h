#pragma once
// The window that registers and deletes favourites. A thin shell: FavouritesRegistration holds
// the rules, this shows its state and forwards clicks and edits to it. Modal, created afresh
// (slot 1 shown) each time it opens; it works on the editor's list directly.

#include <QDialog>

#include "input/Favourites.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace masumemo::input {

class frmFava : public QDialog
{
    Q_OBJECT
public:
    /// Works on list, which must outlive the window.
    explicit frmFava(Favourites& list, QWidget* parent = nullptr);

    const FavouritesRegistration& registration() const { return m_registration; }

    QLabel* lblBT() const { return m_lblBT; }
    QLabel* lblTouroku() const { return m_lblTouroku; }
    QLineEdit* txtFava() const { return m_txtFava; }
    QPushButton* cmdDown() const { return m_cmdDown; }
    QPushButton* cmdUp() const { return m_cmdUp; }
    QPushButton* cmdTekiyou() const { return m_cmdTekiyou; }
    QPushButton* cmdDel() const { return m_cmdDel; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }

    void cmdDown_Click();
    void cmdUp_Click();
    void cmdTekiyou_Click();
    void cmdDel_Click();
    void cmdCancel_Click();
    /// An edit of txtFava by the user.
    void txtFava_Change(const QString& text);

private:
    void buildControls();
    void Form_Load();
    /// Shows the registration's state: slot, count, field and which buttons are enabled.
    void showState();

    FavouritesRegistration m_registration;
    QLabel* m_lblBT = nullptr;
    QLabel* m_lblTouroku = nullptr;
    QLineEdit* m_txtFava = nullptr;
    QPushButton* m_cmdDown = nullptr;
    QPushButton* m_cmdUp = nullptr;
    QPushButton* m_cmdTekiyou = nullptr;
    QPushButton* m_cmdDel = nullptr;
    QPushButton* m_cmdCancel = nullptr;
};

}  // namespace masumemo::input
