#include "Favourites.h"

#include <algorithm>

namespace masumemo::input {

const std::u16string& Favourites::text(int n) const
{
    static const std::u16string none;
    if (n < 1 || n > kSlots) {
        return none;
    }
    return m_slots[static_cast<size_t>(n - 1)];
}

std::vector<std::u16string> Favourites::registered() const
{
    return {m_slots.begin(), m_slots.begin() + m_count};
}

bool Favourites::store(int n, std::u16string text)
{
    if (text.empty() || n < 1 || n > std::min(m_count + 1, kSlots)) {
        return false;
    }
    m_slots[static_cast<size_t>(n - 1)] = std::move(text);
    m_count = std::max(m_count, n);
    return true;
}

bool Favourites::remove(int n)
{
    if (n < 1 || n > m_count) {
        return false;
    }
    std::move(m_slots.begin() + n, m_slots.end(), m_slots.begin() + n - 1);
    m_slots.back().clear();
    --m_count;
    return true;
}

void Favourites::assign(const std::vector<std::u16string>& texts)
{
    m_slots.fill({});
    m_count = 0;
    for (const std::u16string& t : texts) {
        if (t.empty() || m_count == kSlots) {
            break;
        }
        m_slots[static_cast<size_t>(m_count++)] = t;
    }
}

std::u16string textToWrite(std::u16string_view favourite)
{
    return favourite == u"&&" ? std::u16string(u"&") : std::u16string(favourite);
}

std::u16string withoutLineBreaks(std::u16string_view text)
{
    std::u16string out(text);
    std::erase_if(out, [](char16_t c) { return c == u'\r' || c == u'\n'; });
    return out;
}

FavouritesRegistration::FavouritesRegistration(Favourites& list) : m_list(list) {}

void FavouritesRegistration::showSlot(int k)
{
    m_field = m_list.text(k);
    if (!m_SkipFavChange) {
        m_applyEnabled = !m_field.empty();
    }
}

void FavouritesRegistration::open()
{
    m_SkipFavChange = false;
    m_slot = 1;
    m_shownCount = m_list.FavCount();
    showSlot(1);
    m_applyEnabled = false;
    const bool any = m_list.FavCount() > 0;
    m_deleteEnabled = any;
    m_nextEnabled = any;
    m_previousEnabled = false;
}

void FavouritesRegistration::previous()
{
    if (!m_previousEnabled || m_slot <= 1) {
        return;
    }
    --m_slot;
    showSlot(m_slot);
    m_previousEnabled = m_slot > 1;
    m_nextEnabled = true;
    m_applyEnabled = false;
    m_deleteEnabled = true;
}

void FavouritesRegistration::next()
{
    if (!m_nextEnabled || m_slot >= Favourites::kSlots || m_slot > m_list.FavCount()) {
        return;
    }
    ++m_slot;
    showSlot(m_slot);
    if (m_slot == Favourites::kSlots || m_slot > m_list.FavCount()) {
        m_nextEnabled = false;
    }
    m_previousEnabled = true;
    m_applyEnabled = false;
    if (m_slot == m_list.FavCount() + 1) {
        m_deleteEnabled = false;
    }
}

void FavouritesRegistration::apply()
{
    if (!m_applyEnabled || !m_list.store(m_slot, m_field)) {
        return;
    }
    m_shownCount = m_list.FavCount();
    if (m_list.FavCount() != Favourites::kSlots) {
        m_nextEnabled = true;
    }
    m_applyEnabled = false;
    m_deleteEnabled = true;
}

void FavouritesRegistration::remove()
{
    if (!m_deleteEnabled || !m_list.remove(m_slot)) {
        return;
    }
    m_shownCount = m_list.FavCount();
    m_SkipFavChange = true;
    showSlot(m_slot);
    m_SkipFavChange = false;
    if (m_slot == m_list.FavCount() + 1) {
        m_nextEnabled = false;
    }
    m_deleteEnabled = false;
    // Apply keeps its state unless the field is now empty: an enabled Apply over an empty field
    // would register an empty favourite, which ends the list when the settings are read back.
    if (m_field.empty()) {
        m_applyEnabled = false;
    }
}

void FavouritesRegistration::fieldEdited(std::u16string_view text)
{
    m_field = text;
    if (!m_SkipFavChange) {
        m_applyEnabled = !m_field.empty();
    }
}

}  // namespace masumemo::input
