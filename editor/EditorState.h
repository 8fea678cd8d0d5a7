#pragma once
// The editor window's own state, under the names its procedures use. The picture itself
// (text, Keta, Gyou, Modified, the history, its file) is the document's; the canvas controller
// edits it and keeps HalfPush and the snapshot.

namespace masumemo::editor {

struct EditorState
{
    int FontIndex = 0;
    int SizeIndex = 4;
    bool EditMaximised = false;
    bool ClickInput = false;
    bool WindowActivated = false;
};

}  // namespace masumemo::editor
