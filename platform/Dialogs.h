#pragma once
// The one seam through which every message box and file dialog of the program passes, so
// tests can answer them. The program installs QtDialogs (Qt's real dialogs); tests install a
// scripted answerer.

#include <QString>

#include <optional>

class QWidget;

namespace masumemo::platform {

/// The program's title: the caption of every message box.
inline const QString kProgramTitle = QStringLiteral("Masumemo");

class Dialogs
{
public:
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Icon { None, Question, Information, Warning, Critical };
    enum class Answer { Ok, Yes, No, Cancel };

    /// A dialog's file filter in the form "description|pattern", as the program states it.
    struct FileRequest
    {
        QString title;
        QString filter;       ///< e.g. "ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt"
        QString initialPath;  ///< the name offered (the last one chosen), may be empty
        QString defaultSuffix;  ///< added by the Save dialog to a name without one ("txt")
        /// When given, set to the index of the filter pair chosen (0 for the first).
        int* chosenFilter = nullptr;
    };

    virtual ~Dialogs() = default;

    /// A message box captioned "Masumemo". Closing a Yes/No/Cancel box by its close button
    /// answers Cancel; closing any other box answers its last button.
    virtual Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon) = 0;
    /// The Open dialog; an empty string when cancelled. The file need not exist.
    virtual QString openFileName(QWidget* parent, const FileRequest& request) = 0;
    /// The Save dialog, asking before overwriting; an empty string when cancelled.
    virtual QString saveFileName(QWidget* parent, const FileRequest& request) = 0;
    /// A folder chooser showing title; an empty string when cancelled (as answerers that do
    /// not know it answer).
    virtual QString folderName(QWidget* parent, const QString& title,
                               const QString& initialPath);
    /// A one-line text asked for with prompt, offering initial; nothing when cancelled (as
    /// answerers that do not know it answer).
    virtual std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                           const QString& initial);

    /// The installed instance (QtDialogs unless a test installed another).
    static Dialogs& instance();
    /// Installs d (not owned); nullptr restores Qt's dialogs.
    static void install(Dialogs* d);
};

/// Qt's own message boxes and file dialogs.
class QtDialogs final : public Dialogs
{
public:
    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    QString folderName(QWidget* parent, const QString& title,
                       const QString& initialPath) override;
    std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                   const QString& initial) override;
};

/// Turns "description|pattern" pairs into Qt's "description (pattern)" filter list. A
/// description that already ends in its pattern in parentheses is kept as it stands.
QString qtFileFilter(const QString& filter);

}  // namespace masumemo::platform
