#pragma once
// The command line, read into a plain struct that main() acts on.
//
// Adding an option is one change in CommandLine.cpp: an entry in kOptions (its name, value
// name, help text and whether it is headless) and the line in readCommandLine() that copies its
// value into a field added here. A headless command (one that runs without windows and needs no
// display, such as --export) also gets its case in runHeadless() of HeadlessCommands.cpp; the
// offscreen platform is then chosen for it by chooseDisplayPlatform().

#include <QString>
#include <QStringList>

#include "check/BoardCheck.h"

namespace masumemo::launcher {

struct CommandLine
{
    enum class Outcome {
        Windows,     ///< show windows: the chooser, the editor with files, or Egaocho
        Headless,    ///< run a headless command and exit with its status
        Help,        ///< print the help text and exit with 0
        Version,     ///< print the version and exit with 0
        UsageError,  ///< print error and exit with kUsageErrorStatus
    };
    Outcome outcome = Outcome::Windows;
    QString error;  ///< what was wrong with the command line

    QStringList files;  ///< the positional arguments
    bool egaocho = false;
    QString library;  ///< a folder or file to open the parts window on; empty for none

    QString exportFormat;  ///< "png" or "html"; empty when not exporting
    QString output;
    int scale = 1;
    double fontSize = 0;  ///< points; 0 keeps the canvas font's size
    QString font;         ///< the export's font family; empty for the one the editor remembers

    bool check = false;  ///< the posting check of files
    int maxBytes = check::kDefaultMaxBytes;
    int maxLines = check::kDefaultMaxLines;
    bool passesUnicode = true;  ///< false: --no-unicode
};

/// The exit status of a command line that cannot be used.
inline constexpr int kUsageErrorStatus = 2;

/// Reads arguments (the program name first, as QCoreApplication::arguments() gives them). Needs
/// no application object, so it can run before one exists.
CommandLine readCommandLine(const QStringList& arguments);

/// The help text for --help. Needs the application object.
QString helpText();
/// "masumemo 1.2.3" for --version.
QString versionLine();

/// Sets QT_QPA_PLATFORM by displayPlatform(): offscreen whenever argv asks for no window (a
/// headless command, help or version; a command line that looks wrong only when there is no X
/// display), so the application object can be made without a display; XWayland for windows in
/// a Wayland session, unless the user chose. Call before making the application object. True
/// when argv may ask for windows.
bool chooseDisplayPlatform(int argc, char* argv[]);

/// For a run without windows: Qt's own notes (a missing runtime folder and the like) are not
/// printed, so stderr holds only what the command itself reports. Fatal messages still abort.
void keepQtQuiet();

}  // namespace masumemo::launcher
