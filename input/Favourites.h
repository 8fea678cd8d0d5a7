#pragma once
// Favourite texts (up to ten, written into the canvas from the toolbar) and the logic of the
// window that registers and deletes them. Pure state: the window shows what
// FavouritesRegistration says and forwards its button clicks and the user's edits to it.

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace masumemo::input {

/// Favourites and FavCount. Slots are numbered 1-10; slots 1 ... FavCount hold the registered
/// texts, none of them empty, and the slots above FavCount are empty. Every operation keeps
/// that so.
class Favourites
{
public:
    static constexpr int kSlots = 10;

    int FavCount() const { return m_count; }
    /// Slot n's text; empty above FavCount and for n out of 1-10.
    const std::u16string& text(int n) const;
    /// The registered texts, slot 1 first.
    std::vector<std::u16string> registered() const;

    /// Stores text, exactly as given, into slot n: overwriting a registered slot (n <= FavCount)
    /// or registering a new one in the free slot FavCount + 1. Refuses (returns false, changes
    /// nothing) an empty text or any other slot.
    bool store(int n, std::u16string text);
    /// Deletes registered slot n (1 ... FavCount): the later slots move down one place. Returns
    /// false, changing nothing, for any other n.
    bool remove(int n);
    /// Replaces the list by texts up to the first empty one, at most ten; the slots above become
    /// empty.
    void assign(const std::vector<std::u16string>& texts);

private:
    std::array<std::u16string, kSlots> m_slots;
    int m_count = 0;
};

/// What writing a favourite puts into the canvas: its text as registered, except that the text
/// "&&" writes a single "&".
std::u16string textToWrite(std::u16string_view favourite);

/// A favourite is one line: CR and LF are removed from text that the user enters.
std::u16string withoutLineBreaks(std::u16string_view text);

/// The registration window's state: the current slot k (lblBT), the count shown (lblTouroku),
/// the field's text (txtFava) and which buttons are enabled. The user moves between slot 1 and
/// slot FavCount + 1 (at most 10), the free slot where a new favourite is added. A click on a
/// disabled button does nothing. Apply is never enabled while the field is empty, so no empty
/// favourite can be registered.
class FavouritesRegistration
{
public:
    /// Works directly on list, which must outlive this object.
    explicit FavouritesRegistration(Favourites& list);

    /// Form_Load: slot 1 shown, Apply and "<" disabled; with no favourites also ">" and Delete.
    void open();
    /// "<" (cmdDown_Click): to slot k - 1, dropping an unapplied edit.
    void previous();
    /// ">" (cmdUp_Click): to slot k + 1, dropping an unapplied edit. Does not enable Delete.
    void next();
    /// Apply (cmdTekiyou_Click): stores the field into slot k; the free slot becomes registered.
    void apply();
    /// Delete (cmdDel_Click): deletes slot k and shows the slot that moved into its place (the
    /// field is empty when none did). Delete stays disabled until the user applies or goes back.
    void remove();
    /// txtFava_Change for an edit by the user: Apply is enabled exactly when text is not empty.
    void fieldEdited(std::u16string_view text);

    int slot() const { return m_slot; }
    int shownCount() const { return m_shownCount; }
    const std::u16string& fieldText() const { return m_field; }
    bool applyEnabled() const { return m_applyEnabled; }
    bool deleteEnabled() const { return m_deleteEnabled; }
    bool previousEnabled() const { return m_previousEnabled; }
    bool nextEnabled() const { return m_nextEnabled; }

private:
    /// Puts slot k's text into the field; as any change of the field, it updates Apply unless
    /// SkipFavChange is set.
    void showSlot(int k);

    Favourites& m_list;
    int m_slot = 1;
    int m_shownCount = 0;
    std::u16string m_field;
    bool m_SkipFavChange = false;
    bool m_applyEnabled = true;
    bool m_deleteEnabled = true;
    bool m_previousEnabled = true;
    bool m_nextEnabled = true;
};

}  // namespace masumemo::input
