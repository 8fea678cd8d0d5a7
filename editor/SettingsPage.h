#pragma once
// The settings page: canvas font and size. The two number boxes take only main-keyboard digits
// and always hold a number; Apply sets the font and, question by question, cuts or pads the
// canvas to the new size, recording each accepted dimension as an undo step.

#include <QObject>
#include <QString>

class QLineEdit;

namespace masumemo::editor {

class frmMain;

class SettingsPage : public QObject
{
    Q_OBJECT
public:
    /// Hooks itself to the window's cboFont, cboSize, txtKeta, txtGyou and cmdTekiyou.
    explicit SettingsPage(frmMain& window);

    /// The page is opened: the lists and txtKeta show the applied values, Apply is disabled.
    /// txtGyou keeps what it holds.
    void showPage();

    /// Enables Apply exactly while the boxes or lists differ from the applied values.
    void checkApplyState();
    void Tekiyou();
    void cmdTekiyou_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// An emptied box becomes "1"; a text that is not a number goes back to the last one.
    void boxChanged(QLineEdit* box, QString& lastGood);
    /// Asks a Yes/No question; true for Yes.
    bool ask(const QString& text) const;

    frmMain& m_window;
    QString m_lastKeta;
    QString m_lastGyou;
};

}  // namespace masumemo::editor
