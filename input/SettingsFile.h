#pragma once
// masuedit.ini: the favourites, one per line, in code page 932. Read once when the editor
// window is created; at a close request of that window the changes the user made are applied
// to the file as it is then, so another copy of the program keeps its own changes too. A file
// that was not read whole is never written.

#include <QString>

#include "grid/Fit.h"

#include <string>
#include <string_view>
#include <vector>

namespace masumemo::input {

class Favourites;

/// Where the settings file lives: masuedit.ini in the program's directory (or in the user's
/// configuration folder when that cannot be written).
QString settingsPath();

/// The longest favourite read from the file, in half-width units: the largest canvas.
inline constexpr int kMaxFavouriteUnits = static_cast<int>(grid::kMaxCanvasUnits);

/// A larger file is not read at all: ten favourites of the longest kind with their line ends
/// fit with room to spare.
inline constexpr qint64 kMaxSettingsBytes = 1 << 20;

/// The favourites' texts as reading takes them from the file's bytes: a line ends at CR LF or
/// at a lone CR, while a lone LF belongs to the line's text; the first empty line ends the
/// list, a line longer than kMaxFavouriteUnits is left out, and at most ten lines are taken.
/// Invalid code page 932 bytes read as "?". *complete, when given, tells whether that took
/// everything the file holds: false when a line was left out or text follows where reading
/// stopped.
std::vector<std::u16string> parseSettings(std::string_view bytes, bool* complete = nullptr);

/// The file's bytes for the list: every registered favourite in code page 932 followed by
/// CR LF; nothing at all for an empty list.
std::string formatSettings(const Favourites& favourites);

enum class SettingsRead
{
    Read,        ///< the file was read into the list
    Partial,     ///< read into the list, but not all of it (see parseSettings)
    Missing,     ///< no file: the list was left as it is
    Unreadable,  ///< the file could not be read: the list was left as it is
};

/// Reads the settings file into favourites, emptying the slots above the new FavCount. A
/// missing or unreadable file (a folder, pipe or device, or one past kMaxSettingsBytes) reads
/// nothing and leaves the list as it is (empty when the editor is first created). Never throws.
/// *reason, when given, receives why an unreadable file was not read.
SettingsRead readSettings(Favourites& favourites, QString* reason = nullptr);

/// What the user is told, once, about a settings file read as Partial or Unreadable (reason as
/// readSettings gives it); empty for the other outcomes.
QString settingsReadNotice(SettingsRead read, const QString& reason);

/// The favourites after one window's changes, applied to the list the file holds now: theirs.
/// The changes are what turned base (the list as that window read it) into mine: a text it
/// deleted is deleted, a text it put in another's slot replaces that one where it stands, and
/// texts it added follow at the end, as long as there is a free slot. A text already in theirs
/// is not added twice.
std::vector<std::u16string> mergeFavourites(const std::vector<std::u16string>& base,
                                            const std::vector<std::u16string>& mine,
                                            const std::vector<std::u16string>& theirs);

/// Writes the changes from base to favourites into the settings file as one step against other
/// copies of the program: under a lock, the file is read again and mergeFavourites applied to
/// it; favourites then holds the list written. A file that cannot now be read whole is not
/// written. False on failure, with the reason (in Japanese) in *error when given.
bool saveFavouriteChanges(const std::vector<std::u16string>& base, Favourites& favourites,
                          QString* error = nullptr);

/// Writes the list to the settings file through a temporary file renamed over it, so a failed
/// write leaves the previous file as it was. Returns false on failure, with the reason (in
/// Japanese) in *error when given.
bool writeSettings(const Favourites& favourites, QString* error = nullptr);

}  // namespace masumemo::input
