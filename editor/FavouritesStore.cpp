#include "editor/FavouritesStore.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "input/SettingsFile.h"
#include "platform/Dialogs.h"

namespace masumemo::editor {

void FavouritesStore::read(QWidget* parent)
{
    QString reason;
    const input::SettingsRead read = input::readSettings(m_favourites, &reason);
    m_asRead = m_favourites.registered();
    m_readWhole = read == input::SettingsRead::Read || read == input::SettingsRead::Missing;
    static QSet<QString> told;
    const QFileInfo file(input::settingsPath());
    const QString state = QStringLiteral("%1|%2|%3")
                              .arg(file.absoluteFilePath(), QString::number(file.size()),
                                   QString::number(file.lastModified().toMSecsSinceEpoch()));
    const QString notice = input::settingsReadNotice(read, reason);
    if (!notice.isEmpty() && !told.contains(state)) {
        told.insert(state);
        platform::Dialogs::instance().message(parent, notice, platform::Dialogs::Buttons::Ok,
                                              platform::Dialogs::Icon::Warning);
    }
}

void FavouritesStore::write(QWidget* parent)
{
    if (m_favourites.registered() == m_asRead) {
        return;
    }
    QString error = QStringLiteral("このファイルは全部は読めなかったので、書き換えません。");
    if (m_readWhole && input::saveFavouriteChanges(m_asRead, m_favourites, &error)) {
        m_asRead = m_favourites.registered();
    } else {
        platform::Dialogs::instance().message(
            parent,
            QStringLiteral("お気に入り文字を保存できませんでした。") + QLatin1Char('\n') +
                QDir::toNativeSeparators(input::settingsPath()) + QLatin1Char('\n') + error,
            platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Warning);
    }
}

}  // namespace masumemo::editor
