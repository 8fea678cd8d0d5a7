#include "RecentRow.h"

namespace masumemo::input {

void RecentRow::UseKey(std::u16string_view key)
{
    if (key.empty()) {
        return;
    }
    const std::u16string stored = key == u"&" ? std::u16string(u"&&") : std::u16string(key);

    // Close the gap left by an earlier equal caption; the last caption is copied, not moved,
    // and the shift below drops that copy.
    bool found = false;
    for (int i = 0; i < kUpper; ++i) {
        if (found || m_captions[static_cast<size_t>(i)] == stored) {
            m_captions[static_cast<size_t>(i)] = m_captions[static_cast<size_t>(i) + 1];
            found = true;
        }
    }
    for (int i = kUpper; i >= 1; --i) {
        m_captions[static_cast<size_t>(i)] = m_captions[static_cast<size_t>(i) - 1];
    }
    m_captions[0] = stored;
}

const std::u16string& RecentRow::caption(int i) const
{
    static const std::u16string none;
    if (i < 0 || i >= kSize) {
        return none;
    }
    return m_captions[static_cast<size_t>(i)];
}

}  // namespace masumemo::input
