#pragma once
// masuedit.ini: the favourites, one per line, in code page 932. Read once when the editor
// window is created, written at each close request of that window.

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
/// Invalid code page 932 bytes read as "?".
std::vector<std::u16string> parseSettings(std::string_view bytes);

/// The file's bytes for the list: every registered favourite in code page 932 followed by
/// CR LF; nothing at all for an empty list.
std::string formatSettings(const Favourites& favourites);

enum class SettingsRead
{
    Read,        ///< the file was read into the list
    Missing,     ///< no file: the list was left as it is
    Unreadable,  ///< the file could not be read: the list was left as it is
};

/// Reads the settings file into favourites, emptying the slots above the new FavCount. A
/// missing or unreadable file (a folder, pipe or device, or one past kMaxSettingsBytes) reads
/// nothing and leaves the list as it is (empty when the editor is first created). Never throws.
SettingsRead readSettings(Favourites& favourites);

/// Writes the list to the settings file through a temporary file renamed over it, so a failed
/// write leaves the previous file as it was. Returns false on failure, with the reason (in
/// Japanese) in *error when given.
bool writeSettings(const Favourites& favourites, QString* error = nullptr);

}  // namespace masumemo::input
