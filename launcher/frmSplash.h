#pragma once
// The chooser the program starts at: one button for the editor, one for the emoticon window.
// It only says which was chosen; the window registry shows that window.

#include <QFrame>

class QLabel;
class QPushButton;

namespace masumemo::launcher {

class frmSplash : public QFrame
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);

    /// The area inside the window's border, 3930 x 1350 twips.
    QWidget* clientArea() const { return m_client; }

signals:
    void editorChosen();
    void dictionaryChosen();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void Form_Load();
    void cmdMoji_Click();
    void cmdKao_Click();

    QWidget* m_client = nullptr;
    QLabel* m_lblVersion = nullptr;
    QPushButton* m_cmdMoji = nullptr;
    QPushButton* m_cmdKao = nullptr;
    bool m_centred = false;
};

}  // namespace masumemo::launcher
