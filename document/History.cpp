#include "History.h"

#include <cassert>

namespace masumemo::document {

void History::reset(HistoryEntry entry)
{
    m_entries.clear();
    m_entries.push_back(std::move(entry));
    m_undoPos = 0;
}

void History::record(HistoryEntry entry)
{
    if (m_undoPos > 0) {
        // Drop the redo states; the shown state becomes index 1.
        m_entries.erase(m_entries.begin(), m_entries.begin() + (m_undoPos - 1));
        m_undoPos = 0;
    } else {
        if (upperBound() < kMaxUpperBound) {
            m_entries.emplace_back();
        }
        // Move everything one place older; the last one is lost when the array is full.
        for (size_t i = m_entries.size() - 1; i >= 1; --i) {
            m_entries[i] = std::move(m_entries[i - 1]);
        }
    }
    m_entries[0] = std::move(entry);
}

const HistoryEntry& History::undo()
{
    assert(canUndo());
    if (canUndo()) {
        ++m_undoPos;
    }
    return current();
}

const HistoryEntry& History::redo()
{
    assert(canRedo());
    if (canRedo()) {
        --m_undoPos;
    }
    return current();
}

}  // namespace masumemo::document
