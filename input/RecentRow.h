#pragma once
// The recently used row (cmdUse 0-17): the captions of the last characters entered from the
// palette, newest at index 0. An empty caption is an unused slot. Not saved.

#include <array>
#include <string>
#include <string_view>

namespace masumemo::input {

class RecentRow
{
public:
    static constexpr int kSize = 18;
    static constexpr int kUpper = kSize - 1;

    /// UseKey: puts key at index 0. An equal caption already in the row is removed first (the
    /// captions after it close the gap), otherwise the caption at index 17 falls off. A lone "&"
    /// is stored as its caption "&&", so both ampersand buttons share one entry. Captions are
    /// compared exactly. An empty key changes nothing: an empty caption means an unused slot.
    void UseKey(std::u16string_view key);

    /// Caption of button i (0-17); empty for an unused slot or an index out of range.
    const std::u16string& caption(int i) const;
    const std::array<std::u16string, kSize>& captions() const { return m_captions; }

private:
    std::array<std::u16string, kSize> m_captions;
};

}  // namespace masumemo::input
