#pragma once
// The controls of the working area above the canvas: the category row, the character grid,
// the font and size page with the push step, the recently used row and the edit keys. They are
// built here at their designed places (in twips inside picMain); the window wires their events.

#include <array>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace masumemo::platform {
class UpDown;
}

namespace masumemo::editor {

inline constexpr int kMojiCount = 104;
inline constexpr int kUseCount = 18;
inline constexpr int kPaletteCategoryCount = 8;

struct PaletteFrames
{
    std::array<QAbstractButton*, kPaletteCategoryCount> optMoji{};
    /// 0: the character grid, 1: the settings page; they share one place.
    std::array<QGroupBox*, 2> fraButton{};
    std::array<QPushButton*, kMojiCount> cmdMoji{};
    QComboBox* cboFont = nullptr;
    QComboBox* cboSize = nullptr;
    QLineEdit* txtKeta = nullptr;
    QLineEdit* txtGyou = nullptr;
    platform::UpDown* upDown1 = nullptr;
    platform::UpDown* upDown2 = nullptr;
    QPushButton* cmdTekiyou = nullptr;
    std::array<QRadioButton*, 3> optPush{};
    QCheckBox* chkUnicode = nullptr;
    QGroupBox* fraSaikin = nullptr;
    std::array<QPushButton*, kUseCount> cmdUse{};
    QGroupBox* fraEtc = nullptr;
    QPushButton* cmdDel = nullptr;
    QPushButton* cmdBack = nullptr;
    QPushButton* cmdEnt = nullptr;
    /// Left, up, down, right.
    std::array<QPushButton*, 4> cmdCars{};
};

/// Builds every frame inside picMain. The category buttons are exclusive among themselves and
/// stand above the frames, whose top edge reaches into their lowest pixels.
PaletteFrames buildPaletteFrames(QWidget* picMain);

}  // namespace masumemo::editor
