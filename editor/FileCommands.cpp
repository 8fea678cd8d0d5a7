#include "FileCommands.h"

#include <QWidget>
#include <algorithm>

#include "editor/CanvasController.h"
#include "grid/Cp932.h"
#include "platform/Dialogs.h"
#include "platform/FileAccess.h"

namespace masumemo::editor {
namespace {

using platform::Dialogs;

// "[*]" is where the window shows its unsaved-changes mark.
const QString kUntitled = QStringLiteral("住所不定[*] - Masumemo");
const QString kTitleSuffix = QStringLiteral("[*] - Masumemo");
const QString kFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt");
const QString kSuffix = QStringLiteral("txt");
const QString kOpenTitle = QStringLiteral("ファイルを開く");
const QString kSaveTitle = QStringLiteral("名前を付けて保存");
const QString kTooLarge = QStringLiteral("行が長すぎるか多すぎて、キャンバスに収まりません。");
const QString kSaveQuestion = QStringLiteral("内容が変更されています。　保存しますか？");

void tell(QWidget* parent, const QString& text, Dialogs::Icon icon)
{
    Dialogs::instance().message(parent, text, Dialogs::Buttons::Ok, icon);
}

}  // namespace

CanvasFileRead readCanvasPath(const QString& path)
{
    CanvasFileRead read;
    const platform::FileBytes bytes = platform::readRegularFile(path, grid::kMaxCanvasFileBytes);
    if (bytes.problem != platform::FileProblem::None) {
        read.error = bytes.problem == platform::FileProblem::TooLarge
                         ? kTooLarge
                         : platform::problemText(bytes.problem);
        return read;
    }
    read.file = grid::readCanvasFile(std::string_view(bytes.bytes.constData(), bytes.bytes.size()));
    if (!read.file.isText) {
        read.error = QStringLiteral("テキストファイルではありません（NUL文字を含んでいます）。");
    } else if (read.file.tooLarge) {
        read.error = kTooLarge;
    } else {
        read.ok = true;
    }
    return read;
}

bool writeCanvasPath(const QString& path, std::u16string_view canvas, QString* error)
{
    const platform::FileProblem problem =
        platform::writeWholeFile(path, grid::canvasFileBytes(canvas));
    if (problem != platform::FileProblem::None && error) {
        *error = platform::problemText(problem);
    }
    return problem == platform::FileProblem::None;
}

FileCommands::FileCommands(QWidget& window, CanvasController& canvas, QString& currentFile,
                           std::function<void()> canvasReset)
    : m_window(window),
      m_canvas(canvas),
      m_currentFile(currentFile),
      m_canvasReset(std::move(canvasReset))
{
}

bool FileCommands::saveQuestion()
{
    if (!m_canvas.modified()) {
        return true;
    }
    switch (Dialogs::instance().message(&m_window, kSaveQuestion, Dialogs::Buttons::YesNoCancel,
                                        Dialogs::Icon::Question)) {
        case Dialogs::Answer::No:
            return true;
        case Dialogs::Answer::Yes:
            return Save();
        default:
            return false;
    }
}

void FileCommands::New()
{
    if (!saveQuestion()) {
        return;
    }
    const int keta = m_canvas.keta();
    const int gyou = m_canvas.gyou();
    m_canvas.resetCanvas(grid::blankCanvas(keta, gyou), keta, gyou);
    m_currentFile.clear();
    showTitle();
    if (m_canvasReset) {
        m_canvasReset();
    }
}

void FileCommands::Open()
{
    if (!saveQuestion()) {
        return;
    }
    const QString path =
        Dialogs::instance().openFileName(&m_window, {kOpenTitle, kFilter, m_lastName});
    if (path.isEmpty()) {
        return;
    }
    m_lastName = path;
    FileOpen(path);
}

bool FileCommands::Save()
{
    return m_currentFile.isEmpty() ? SaveAs() : FileSave();
}

bool FileCommands::SaveAs()
{
    const QString path =
        Dialogs::instance().saveFileName(&m_window, {kSaveTitle, kFilter, m_lastName, kSuffix});
    if (path.isEmpty()) {
        return false;
    }
    m_lastName = path;
    // CurrentFile names the file only once it holds the picture; a failed write leaves the name
    // the title shows, so a later Save goes where the user expects.
    return writeTo(path);
}

bool FileCommands::FileSave()
{
    return writeTo(m_currentFile);
}

bool FileCommands::writeTo(const QString& path)
{
    QString reason;
    if (!writeCanvasPath(path, m_canvas.text(), &reason)) {
        tell(&m_window,
             QStringLiteral("ファイルを保存できませんでした。\n%1\n\n%2").arg(path, reason),
             Dialogs::Icon::Critical);
        return false;
    }
    m_currentFile = path;
    m_canvas.setModified(false);
    showTitle();
    if (m_fileUsed) {
        m_fileUsed(path);
    }
    return true;
}

bool FileCommands::FileOpen(const QString& path)
{
    const CanvasFileRead read = readCanvasPath(path);
    if (!read.ok) {
        // Nothing changes: the canvas, CurrentFile and the title still describe the same file.
        tell(&m_window,
             QStringLiteral("ファイルを開けませんでした。\n%1\n\n%2").arg(path, read.error),
             Dialogs::Icon::Critical);
        return false;
    }
    showFitted(read.file.canvas, path);
    if (m_fileUsed) {
        m_fileUsed(path);
    }
    // Said once, on opening: the next save writes "?" where those bytes were.
    QStringList notes;
    if (read.file.substituted) {
        notes << QStringLiteral(
            "このファイルはShift_JISではありません。読めないバイトは「?」に置き換えました。"
            "保存すると、元のバイトは失われます。");
    }
    if (read.file.controlsDropped) {
        notes << QStringLiteral("タブなどの制御文字は取り除きました。保存するとなくなります。");
    }
    if (!notes.isEmpty()) {
        tell(&m_window, notes.join(QLatin1Char('\n')), Dialogs::Icon::Warning);
    }
    return true;
}

void FileCommands::showFitted(const grid::FittedCanvas& fitted, const QString& path)
{
    m_canvas.resetCanvas(fitted.text, fitted.keta, fitted.gyou);
    m_currentFile = path;
    showTitle();
    if (m_canvasReset) {
        m_canvasReset();
    }
}

bool FileCommands::OpenText(std::u16string_view text)
{
    if (!saveQuestion()) {
        return false;
    }
    // Through the code page as a file's bytes would come: the same fitting, the same "?".
    const grid::CanvasFile file = grid::readCanvasFile(grid::encodeCp932(text));
    if (!file.isText || file.tooLarge) {
        tell(&m_window, kTooLarge, Dialogs::Icon::Critical);
        return false;
    }
    showFitted(file.canvas, QString());
    return true;
}

bool FileCommands::KaoKara(const QString& path)
{
    return saveQuestion() && FileOpen(path);
}

void FileCommands::showTitle()
{
    // A literal "[*]" in a path is written twice so that it is not taken for the mark.
    QString path = m_currentFile;
    path.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    m_window.setWindowTitle(path.isEmpty() ? kUntitled : path + kTitleSuffix);
}

}  // namespace masumemo::editor
