#pragma once
// Whether the board a picture is for shows Unicode characters (written as references) as
// themselves: one setting of the program's, shown by the posting check and by the editor's
// settings page beside the push step, since the dot step composes blank runs by it too.

#include <QObject>

#include "check/BoardCheck.h"

namespace masumemo::check {

/// The setting as the program's settings file holds it (on when never set).
bool passesUnicode();
/// Writes it and tells every window that shows it.
void setPassesUnicode(bool passes);

/// The byte and line limits the posting check was last given, with passesUnicode().
BoardLimits savedLimits();
/// Writes the limits (and the Unicode setting) and tells every window that shows them.
void saveLimits(const BoardLimits& limits);

/// Announces changes of the setting within the program.
class BoardSetting : public QObject
{
    Q_OBJECT
public:
    static BoardSetting& instance();

signals:
    void passesUnicodeChanged(bool passes);
    void limitsChanged();

private:
    BoardSetting() = default;
};

}  // namespace masumemo::check
