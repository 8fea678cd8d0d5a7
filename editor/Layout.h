#pragma once
// How the editor window follows its size and view mode. A pure decision: no widgets, every
// length in twips, so the numbers it must produce are tested without a window.

namespace masumemo::editor {

/// The working area was laid out for a window this wide.
inline constexpr int kBaseWidth = 10500;
inline constexpr int kBaseHeight = 9330;
/// The canvas's top inside the working area, standard and maximised view.
inline constexpr int kCanvasTopStandard = 3000;
inline constexpr int kCanvasTopMaximised = 75;
/// The toolbar and the etched rule take this much at the top of the window.
inline constexpr int kWorkingAreaAllowance = 450;
/// Below this outer height the heights are left alone.
inline constexpr int kMinimumLayoutHeight = 1700;

enum class ViewMode
{
    Standard,
    Maximised
};

/// The geometry the resize rules decide (twips; picMain's and the scroll bar's in the window,
/// txtMain's inside picMain). The defaults are the designed standard arrangement.
struct WindowGeometry
{
    int picMainLeft = 75;
    int picMainWidth = 10440;
    int picMainHeight = 7290;

    int txtMainTop = kCanvasTopStandard;
    int txtMainWidth = 10200;
    int txtMainHeight = 4290;

    bool hsbVisible = false;
    int hsbTop = 7800;
    int hsbWidth = 10365;
    int hsbMaximum = 0;
    int hsbValue = 0;

    /// Right end of the etched rule under the toolbar (Line3, Line4).
    int ruleRight = kBaseWidth - 75;

    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

struct LayoutInput
{
    int outerWidth = kBaseWidth;    ///< the window's frame width
    int outerHeight = kBaseHeight;  ///< the window's frame height
    int innerWidth = kBaseWidth;    ///< the width inside the frame, which picMain fills when wide
    ViewMode view = ViewMode::Standard;
    WindowGeometry current;  ///< what the window shows now; kept where the rules keep it
};

/// Form_Resize as a function.
/// - Narrower than the base width: the working area keeps its designed width and scrolls
///   sideways; the scroll bar shows with maximum 10600 - W. picMain's left is kept, unless the
///   new maximum pulls the scroll value back, which scrolls picMain with it.
/// - At least the base width: no scroll bar, picMain at the left edge filling the inner width.
/// - Below 1700 high the heights are kept; below 6000 (standard) or 3000 (maximised) the canvas
///   keeps the height it has at that height; above it its bottom follows the window.
/// - The canvas top follows the view (3000 standard, 75 maximised).
WindowGeometry layoutWindow(const LayoutInput& in);

}  // namespace masumemo::editor
