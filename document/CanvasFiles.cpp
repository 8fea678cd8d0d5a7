#include "CanvasFiles.h"

#include "platform/FileAccess.h"

namespace masumemo::document {
namespace {

std::string_view firstLineEnd(std::string_view bytes)
{
    const size_t at = bytes.find_first_of("\r\n");
    if (at == std::string_view::npos) {
        return "\r\n";
    }
    if (bytes[at] == '\n') {
        return "\n";
    }
    return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? "\r\n" : "\r";
}

}  // namespace

QString tooLargeText()
{
    return QStringLiteral("行が長すぎるか多すぎて、キャンバスに収まりません。");
}

CanvasFileRead readCanvasPath(const QString& path)
{
    CanvasFileRead read;
    const platform::FileBytes bytes = platform::readRegularFile(path, grid::kMaxCanvasFileBytes);
    if (bytes.problem != platform::FileProblem::None) {
        read.error = bytes.problem == platform::FileProblem::TooLarge
                         ? tooLargeText()
                         : platform::problemText(bytes.problem);
        return read;
    }
    const std::string_view raw(bytes.bytes.constData(), static_cast<size_t>(bytes.bytes.size()));
    read.file = grid::readCanvasFile(raw);
    read.lineEnd = firstLineEnd(raw);
    if (!read.file.isText) {
        read.error = QStringLiteral("テキストファイルではありません（NUL文字を含んでいます）。");
    } else if (read.file.tooLarge) {
        read.error = tooLargeText();
    } else {
        read.ok = true;
    }
    return read;
}

bool writeCanvasPath(const QString& path, std::u16string_view canvas,
                     const grid::CanvasFileForm& form, QString* error)
{
    const platform::FileProblem problem =
        platform::writeWholeFile(path, grid::canvasFileBytes(canvas, form));
    if (problem != platform::FileProblem::None && error) {
        *error = platform::problemText(problem);
    }
    return problem == platform::FileProblem::None;
}

}  // namespace masumemo::document
