#pragma once
// The favourite characters of one editor window and the settings file they come from. A file
// that was not read whole is never written back, and favourites the user did not change leave
// the file as another window may have written it.

#include <string>
#include <vector>

#include "input/Favourites.h"

class QWidget;

namespace masumemo::editor {

class FavouritesStore
{
public:
    input::Favourites& favourites() { return m_favourites; }

    /// Reads the file; a missing or unreadable one means no favourites. A damaged file is
    /// told once for each state of it, not at every editor window.
    void read(QWidget* parent);
    /// Writes what the user changed; a failure is told, and the close goes on.
    void write(QWidget* parent);

private:
    input::Favourites m_favourites;
    /// The favourites as read: what the user changed is the difference.
    std::vector<std::u16string> m_asRead;
    /// False after a read that failed or stopped early.
    bool m_readWhole = true;
};

}  // namespace masumemo::editor
