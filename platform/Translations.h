#pragma once

class QCoreApplication;

namespace masumemo::platform {

/// Loads Qt's own Japanese translation whatever the locale, so standard buttons and dialogs
/// speak Japanese like the rest of the program. Returns whether it was found.
bool installJapaneseTranslations(QCoreApplication& app);

}  // namespace masumemo::platform
