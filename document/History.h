#pragma once
// The editor's undo history: whole-canvas snapshots, newest first, at most 31 of them (30 undo
// steps). Plain C++ so its rules are tested without a window.

#include <string>
#include <vector>

namespace masumemo::document {

/// One snapshot: the canvas text, the caret after the edit, and the canvas size.
struct HistoryEntry
{
    std::u16string Text;
    int Caret = 0;
    int Keta = 0;
    int Gyou = 0;

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

class History
{
public:
    static constexpr int kMaxUpperBound = 30;  ///< so at most 31 snapshots

    /// A single entry; nothing to undo or redo.
    void reset(HistoryEntry entry);

    /// RirekiKakunou: records entry as the newest snapshot. After undoing p steps the p redo
    /// states are dropped and the shown state becomes index 1; otherwise everything moves one
    /// place older and the oldest falls off once 31 are held.
    void record(HistoryEntry entry);

    /// One step back: the entry to show, and UndoPos moves to it. Only when canUndo().
    const HistoryEntry& undo();
    /// One step forward; only when canRedo().
    const HistoryEntry& redo();

    bool canUndo() const { return m_undoPos < upperBound(); }
    bool canRedo() const { return m_undoPos > 0; }

    /// History(UndoPos): the canvas as last accepted.
    const HistoryEntry& current() const { return m_entries[static_cast<size_t>(m_undoPos)]; }
    int undoPos() const { return m_undoPos; }
    int upperBound() const { return static_cast<int>(m_entries.size()) - 1; }
    const std::vector<HistoryEntry>& entries() const { return m_entries; }

private:
    std::vector<HistoryEntry> m_entries{HistoryEntry{}};
    int m_undoPos = 0;
};

}  // namespace masumemo::document
