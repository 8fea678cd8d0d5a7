#include "FileCommands.h"

#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <optional>
#include <vector>

#include "document/CanvasFiles.h"
#include "document/Document.h"
#include "editor/CanvasController.h"
#include "grid/Cp932.h"
#include "platform/Dialogs.h"

namespace masumemo::editor {
namespace {

using platform::Dialogs;

// "[*]" is where the window shows its unsaved-changes mark.
const QString kUntitled = QStringLiteral("住所不定[*] - Masumemo");
const QString kTitleSuffix = QStringLiteral("[*] - Masumemo");
const QString kFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt");
const QString kUtf8Filter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ UTF-8(*.txt)|*.txt");
const QString kOpenFilter =
    QStringLiteral("AAファイル (*.mlt *.ast *.txt)|*.mlt *.ast *.txt|") + kFilter;
const QString kMltFilter = QStringLiteral("MLTﾌｧｲﾙ(*.mlt)|*.mlt");
const QString kAstFilter = QStringLiteral("ASTﾌｧｲﾙ(*.ast)|*.ast");
const QString kSuffix = QStringLiteral("txt");
const QString kOpenTitle = QStringLiteral("ファイルを開く");
const QString kSaveTitle = QStringLiteral("名前を付けて保存");
const QString kSaveQuestion = QStringLiteral("内容が変更されています。　保存しますか？");
const QString kOnePageQuestion = QStringLiteral(
    "テキストファイルには現在のﾍﾟｰｼﾞだけが保存されます。\n現在のﾍﾟｰｼﾞだけを保存しますか？");

using Format = document::FileForm::Format;

/// A choice of the Save As dialog.
struct SaveChoice
{
    QString filter;
    Format format;
    bool utf8;
};

/// The choices Save As offers: the file's own format and encoding first; files of pages are
/// written in their own encoding whatever their format.
std::vector<SaveChoice> saveChoices(const document::FileForm& form)
{
    const bool utf8 = form.encoding == grid::TextEncoding::Utf8;
    const SaveChoice text{utf8 ? kUtf8Filter : kFilter, Format::Text, utf8};
    const SaveChoice otherText{utf8 ? kFilter : kUtf8Filter, Format::Text, !utf8};
    const SaveChoice mlt{kMltFilter, Format::Mlt, utf8};
    const SaveChoice ast{kAstFilter, Format::Ast, utf8};
    switch (form.format) {
    case Format::Mlt: return {mlt, ast, text, otherText};
    case Format::Ast: return {ast, mlt, text, otherText};
    case Format::Text: break;
    }
    return {text, otherText, mlt, ast};
}

/// The format a name asks for by its extension, if it names one.
std::optional<Format> formatOfPath(const QString& path)
{
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".mlt"))) {
        return Format::Mlt;
    }
    if (lower.endsWith(QLatin1String(".ast"))) {
        return Format::Ast;
    }
    if (lower.endsWith(QLatin1String(".txt"))) {
        return Format::Text;
    }
    return std::nullopt;
}

void tell(QWidget* parent, const QString& text, Dialogs::Icon icon)
{
    Dialogs::instance().message(parent, text, Dialogs::Buttons::Ok, icon);
}

}  // namespace

QString editorTitle(const QString& path)
{
    // A literal "[*]" in a path is written twice so that it is not taken for the mark.
    QString shown = path;
    shown.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return shown.isEmpty() ? kUntitled : shown + kTitleSuffix;
}

QString encodingName(const document::FileForm& form)
{
    return form.encoding == grid::TextEncoding::Utf8 ? QStringLiteral("UTF-8")
                                                     : QStringLiteral("Shift_JIS");
}

FileCommands::FileCommands(QWidget& window, CanvasController& canvas,
                           std::function<void()> canvasReset)
    : m_window(window), m_canvas(canvas), m_canvasReset(std::move(canvasReset))
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
    m_canvas.document().forgetFile();
    canvasReplaced();
}

void FileCommands::Open()
{
    if (!saveQuestion()) {
        return;
    }
    const QString path =
        Dialogs::instance().openFileName(&m_window, {kOpenTitle, kOpenFilter, m_lastName});
    if (path.isEmpty()) {
        return;
    }
    m_lastName = path;
    FileOpen(path);
}

bool FileCommands::Save()
{
    return m_canvas.document().path().isEmpty() ? SaveAs() : FileSave();
}

bool FileCommands::SaveAs()
{
    const document::FileForm& current = m_canvas.document().form();
    const std::vector<SaveChoice> choices = saveChoices(current);
    QStringList filters;
    for (const SaveChoice& choice : choices) {
        filters << choice.filter;
    }
    // The file being edited, wherever it came from (the command line, the recent files, a
    // hand-over), is where a new name is most likely wanted.
    const QString editing = m_canvas.document().path();
    const QString offered = editing.isEmpty() ? m_lastName : editing;
    int chosen = 0;
    const QString suffix = current.format == Format::Mlt   ? QStringLiteral("mlt")
                           : current.format == Format::Ast ? QStringLiteral("ast")
                                                           : kSuffix;
    const QString path = Dialogs::instance().saveFileName(
        &m_window, {kSaveTitle, filters.join(QLatin1Char('|')), offered, suffix, &chosen});
    if (path.isEmpty()) {
        return false;
    }
    m_lastName = path;
    const SaveChoice& choice = choices[static_cast<size_t>(std::clamp<int>(
        chosen, 0, static_cast<int>(choices.size()) - 1))];
    // The file's own encoding keeps its byte order mark; the other is written without one.
    document::FileForm form = current;
    const bool utf8 = current.encoding == grid::TextEncoding::Utf8;
    if (choice.utf8 != utf8) {
        form.encoding = choice.utf8 ? grid::TextEncoding::Utf8 : grid::TextEncoding::Cp932;
        form.byteOrderMark = false;
    }
    // The type is the extension's when the name has one of the three.
    form.format = formatOfPath(path).value_or(choice.format);
    // The document names the file only once it holds the picture; a failed write leaves the name
    // the title shows, so a later Save goes where the user expects.
    return writeTo(path, form);
}

bool FileCommands::FileSave()
{
    return writeTo(m_canvas.document().path(), m_canvas.document().form());
}

bool FileCommands::writeTo(const QString& path, const document::FileForm& form)
{
    if (form.format == Format::Text && m_canvas.document().pageCount() > 1 &&
        Dialogs::instance().message(&m_window, kOnePageQuestion, Dialogs::Buttons::YesNo,
                                    Dialogs::Icon::Question) != Dialogs::Answer::Yes) {
        return false;
    }
    QString reason;
    if (!m_canvas.document().save(path, form, &reason)) {
        tell(&m_window,
             QStringLiteral("ファイルを保存できませんでした。\n%1\n\n%2").arg(path, reason),
             Dialogs::Icon::Critical);
        return false;
    }
    if (m_fileUsed) {
        m_fileUsed(path);
    }
    return true;
}

bool FileCommands::FileOpen(const QString& path)
{
    const document::OpenReport read = m_canvas.document().open(path);
    if (!read.ok) {
        // Nothing changes: the canvas, its file and the title still describe the same file.
        tell(&m_window,
             QStringLiteral("ファイルを開けませんでした。\n%1\n\n%2").arg(path, read.error),
             Dialogs::Icon::Critical);
        return false;
    }
    m_canvas.showPage();
    canvasReplaced();
    if (m_fileUsed) {
        m_fileUsed(path);
    }
    // Said once, on opening: the next save writes "?" where those bytes were.
    QStringList notes;
    if (read.substituted) {
        notes << QStringLiteral(
            "このファイルには、Shift_JISとしてもUTF-8としても読めないバイトがあります。"
            "読めないバイトは「?」に置き換えました。"
            "保存すると、元のバイトは失われます。");
    }
    if (read.controlsDropped) {
        notes << QStringLiteral("タブなどの制御文字は取り除きました。保存するとなくなります。");
    }
    if (!notes.isEmpty()) {
        tell(&m_window, notes.join(QLatin1Char('\n')), Dialogs::Icon::Warning);
    }
    return true;
}

void FileCommands::showFitted(const grid::FittedCanvas& fitted)
{
    m_canvas.resetCanvas(fitted.text, fitted.keta, fitted.gyou);
    m_canvas.document().forgetFile();
    canvasReplaced();
}

void FileCommands::canvasReplaced()
{
    if (m_canvasReset) {
        m_canvasReset();
    }
}

bool FileCommands::OpenText(std::u16string_view text)
{
    if (!saveQuestion()) {
        return false;
    }
    const grid::CanvasFile file = grid::readCanvasText(text);
    if (file.tooLarge) {
        tell(&m_window, document::tooLargeText(), Dialogs::Icon::Critical);
        return false;
    }
    showFitted(file.canvas);
    return true;
}

bool FileCommands::OpenDocument(const std::function<void(document::Document&)>& fill)
{
    if (!saveQuestion()) {
        return false;
    }
    fill(m_canvas.document());
    m_canvas.showPage();
    canvasReplaced();
    return true;
}

bool FileCommands::KaoKara(const QString& path)
{
    return saveQuestion() && FileOpen(path);
}


}  // namespace masumemo::editor
