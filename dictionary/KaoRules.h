#pragma once
// The emoticon window's size rules, without widgets: its sizes, the width of the entry list and
// the idle counter that shrinks the window to its title bar.

#include <limits>

namespace masumemo::dictionary {

// Sizes in twips.
inline constexpr int kKaoFullWidth = 2700;
inline constexpr int kKaoFullHeight = 1800;
inline constexpr int kKaoShrunkHeight = 450;
/// cboFile and UpDown1 always, cboData while the window is no wider than its full width.
inline constexpr int kKaoListWidth = 2415;
/// Room kept right of a widened cboData.
inline constexpr int kKaoListRightMargin = 165;

/// The width of cboData for a window of this outer and client width (all in twips): a window
/// wider than its full width lets the list follow it; at full width and below it keeps its own.
constexpr int cboDataWidth(int outerWidth, int clientWidth)
{
    return outerWidth > kKaoFullWidth ? clientWidth - kKaoListRightMargin : kKaoListWidth;
}

/// Counts idle ticks of the shrink timer: the window shrinks at the second tick after the
/// mouse last moved over its surface, and is restored by the next movement.
class IdleShrink
{
public:
    /// One tick. counting is false while the window is minimised, maximised or hidden: such a
    /// tick is not counted. Answers true when the window is to shrink now.
    bool tick(bool counting)
    {
        if (!counting) {
            return false;
        }
        const bool shrinkNow = IdleTicks == 1;
        if (shrinkNow) {
            Shrunk = true;
        }
        if (IdleTicks < std::numeric_limits<int>::max()) {
            ++IdleTicks;
        }
        return shrinkNow;
    }
    /// Mouse movement over the window surface. Answers true when the window is to restore now.
    bool surfaceMoved()
    {
        IdleTicks = 0;
        const bool restoreNow = Shrunk;
        Shrunk = false;
        return restoreNow;
    }
    /// Mouse movement over the spin control: only the counter starts again.
    void spinMoved() { IdleTicks = 0; }

    int IdleTicks = 0;
    bool Shrunk = false;
};

}  // namespace masumemo::dictionary
