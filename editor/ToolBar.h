#pragma once
// The editor's toolbar "tbToolBar": 25 entries numbered from 1 as laid out, separators
// included. Each button keeps its key string in QAction::data, and a click is dispatched by
// comparing keys; the favourite buttons stay empty and hidden until favourites fill them.

#include <QIcon>
#include <QString>

#include <array>

class QAction;
class QToolBar;

namespace masumemo::editor {

inline constexpr int kToolButtonCount = 25;
inline constexpr int kFirstFavouriteButton = 16;
inline constexpr int kUndoButton = 9;
inline constexpr int kRedoButton = 10;
inline constexpr int kViewButton = 12;

/// Lays out every entry on bar (fixed, icons only, 20 px) and gives them in order.
std::array<QAction*, kToolButtonCount> fillToolBar(QToolBar& bar);

/// The key string of button number (from 1); empty for a separator.
QString toolKey(int number);

/// One of our icons by its file name, e.g. "view-maximise".
QIcon toolIcon(const char* name);

/// The view button's tooltip: what a click will do next.
QString viewButtonTip(bool toStandard);

}  // namespace masumemo::editor
