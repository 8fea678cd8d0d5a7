#pragma once
// The settings page: canvas font and size. The two number boxes take only main-keyboard digits
// and always hold a number; Apply sets the font and, question by question, cuts or pads the
// canvas to the new size, recording each accepted dimension as an undo step.

#include <QObject>
#include <QString>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace masumemo::editor {

class CanvasWidget;
struct EditorState;

/// The parts of the window the settings page works with.
struct SettingsParts
{
    QWidget* window = nullptr;  ///< the parent of the questions
    QComboBox* cboFont = nullptr;
    QComboBox* cboSize = nullptr;
    QLineEdit* txtKeta = nullptr;
    QLineEdit* txtGyou = nullptr;
    QPushButton* cmdTekiyou = nullptr;
    CanvasWidget* txtMain = nullptr;
    EditorState* state = nullptr;  ///< FontIndex and SizeIndex
    std::function<void()> dataShow;
};

class SettingsPage : public QObject
{
    Q_OBJECT
public:
    /// Hooks itself to cboFont, cboSize, txtKeta, txtGyou and cmdTekiyou.
    SettingsPage(SettingsParts parts, QObject* parent);

    /// The page is opened: the lists and txtKeta show the applied values, Apply is disabled.
    /// txtGyou keeps what it holds.
    void showPage();

    /// Enables Apply exactly while the boxes or lists differ from the applied values.
    void checkApplyState();
    void Tekiyou();
    /// The canvas font and size of the lists' entries at these indexes, on the canvas.
    void applyFont(int fontIndex, int sizeIndex);
    /// The font and size the settings remember, on the canvas (at start).
    void restoreRemembered();
    void cmdTekiyou_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    /// An emptied box becomes "1"; a text that is not a number goes back to the last one.
    void boxChanged(QLineEdit* box, QString& lastGood);
    /// Asks a Yes/No question; true for Yes.
    bool ask(const QString& text) const;

    SettingsParts m_parts;
    QString m_lastKeta;
    QString m_lastGyou;
};

}  // namespace masumemo::editor
