#pragma once
// The character palette as data: eight category buttons (optMoji), of which 0-6 fill a 26 x 4
// grid of character buttons (cmdMoji) and 7 shows the settings panel instead. No widgets here:
// the palette window reads captions and visibility from PaletteGrid and shows them.

#include <array>
#include <string>
#include <string_view>

namespace masumemo::input {

inline constexpr int kPaletteColumns = 26;
inline constexpr int kPaletteRows = 4;
inline constexpr int kPaletteButtonCount = kPaletteColumns * kPaletteRows;
inline constexpr int kCategoryCount = 8;           ///< optMoji 0-7
inline constexpr int kCharacterCategoryCount = 7;  ///< 0-6 fill the grid
inline constexpr int kSettingsCategory = 7;        ///< "設定": the settings panel

/// Caption of the category button optMoji(category); empty outside 0-7.
std::u16string_view categoryCaption(int category);

/// The character button `button` (0-103) writes in `category` (0-6); 0 when the button is
/// hidden there, and for any index out of range.
char16_t paletteCharacter(int category, int button);

/// The button's caption: its character, except the ampersand, whose caption is "&&" because a
/// lone "&" in a caption marks an accelerator and is not displayed. Empty for a hidden button.
std::u16string paletteCaption(int category, int button);

/// Number of buttons a category (0-6) shows; 0 outside that range.
int visibleButtonCount(int category);

/// The text a caption stands for: "&&" is one "&", any other caption is itself.
std::u16string captionText(std::u16string_view caption);

/// What the character grid shows: the selected category, the captions and visibility of the
/// 104 buttons, and which of the two frames (grid or settings panel) is shown. At creation no
/// category has been chosen yet; the window calls showCategory(0) during its start-up.
class PaletteGrid
{
public:
    PaletteGrid();

    /// optMoji_Click without its window parts: every button is made visible first, then
    /// categories 0-6 give each button its caption or hide it and show the grid; category 7
    /// shows the settings panel (the buttons keep their last captions). An index outside 0-7 is
    /// ignored.
    void showCategory(int category);

    /// The selected category, or -1 before the first showCategory.
    int category() const { return m_category; }
    /// True while fraButton(0) (the grid) is shown, false while fraButton(1) (the settings
    /// panel) is.
    bool gridShown() const { return m_gridShown; }
    /// Whether button (0-103) is visible; false out of range.
    bool isVisible(int button) const;
    /// The button's caption as last set; empty out of range.
    const std::u16string& caption(int button) const;

private:
    int m_category = -1;
    bool m_gridShown = true;
    std::array<bool, kPaletteButtonCount> m_visible{};
    std::array<std::u16string, kPaletteButtonCount> m_captions;
};

}  // namespace masumemo::input
