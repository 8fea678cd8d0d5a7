#pragma once
// Mirroring and framing as a tool of the editor: "左右反転(&M)", "上下反転(&U)" and "枠で囲む(&W)..."
// in the Edit menu, acting on the selected lines (in rectangle mode the rectangle; a floating
// block of cells is laid down first, a floating block of dots is mirrored where it floats) or,
// with nothing selected, the whole canvas, as one undo step; in cells in the fixed font and to
// the dot in the proportional one. The pair tables and frame styles are the built-in ones with the user's files beside the settings
// (mirror-lr.txt, mirror-ud.txt, frames.txt) over them.

#include <QObject>

#include <functional>
#include <optional>
#include <vector>

#include "shapes/Frame.h"
#include "shapes/Mirror.h"

#include "host/CanvasLayer.h"

namespace masumemo::host {
class ToolHost;
}

namespace masumemo::shapes {

class ShapesTool : public QObject
{
    Q_OBJECT
public:
    ShapesTool(host::ToolHost& host, QObject* parent);

    void mirrorLeftRight();
    void mirrorUpsideDown();
    /// Asks for a style in a small window, then frames with it.
    void chooseFrame();
    /// Frames the selected lines with style; the status bar says why when it cannot.
    void frameWith(const FrameStyle& style);

    /// The tables and styles as read: built-in, then the user's files.
    const MirrorTable& leftRight() const { return m_leftRight; }
    const std::vector<FrameStyle>& styles() const { return m_styles; }
    /// Reads the user's files again (they are read once when the tool is made).
    void readTables();

private:
    /// The lines the commands act on (0-based, inclusive) and the canvas as lines.
    struct Target
    {
        std::vector<std::u16string> lines;
        int first = 0;
        int last = 0;
        int start = 0;
        int length = 0;
        /// In rectangle mode, the rectangle: mirrors turn its cells only.
        std::optional<host::CellRect> cells;
        /// In rectangle mode in the proportional font, the rectangle of dots.
        std::optional<host::DotArea> dots;
    };
    Target target() const;
    bool proportional() const;
    /// What a command makes of its target: the canvas's new lines (none: it stays) and a word
    /// for the status bar.
    struct Made
    {
        std::vector<std::u16string> lines;
        QString said;
    };
    /// One undo step: make sees the target only once the change is announced (a floating
    /// block laid down), so it never builds on a text about to change. The selection stays.
    void rewrite(const std::function<Made(Target&)>& make);
    /// A mirror of the rectangle's cells.
    Made mirrorCellsOf(const Target& t, bool upsideDown) const;
    /// A mirror of the rectangle's chosen characters in dots.
    Made mirrorDotsOf(const Target& t, bool upsideDown) const;
    /// A floating block of dots mirrored where it floats; false when none floats.
    bool mirrorFloatingDots(bool upsideDown);

    host::ToolHost& m_host;
    MirrorTable m_leftRight;
    MirrorTable m_upsideDown;
    std::vector<FrameStyle> m_styles;
};

}  // namespace masumemo::shapes
