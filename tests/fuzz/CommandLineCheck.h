#pragma once
// What must hold for any argument list read as the command line, shared by the fuzzer and the
// replay of the inputs it found. The check answers an empty string, or what went wrong.

#include <QStringList>

#include <cmath>
#include <string>
#include <string_view>

#include "launcher/CommandLine.h"

namespace masumemo::fuzzcheck {

/// The arguments in the input: the program's name, then the input split at NUL bytes, each piece
/// read as UTF-8 (as the system's encoding gives them).
inline QStringList argumentsOf(std::string_view bytes)
{
    QStringList arguments{QStringLiteral("masumemo")};
    size_t start = 0;
    while (start <= bytes.size() && arguments.size() < 64) {
        const size_t nul = std::min(bytes.find('\0', start), bytes.size());
        const std::string_view piece = bytes.substr(start, nul - start);
        arguments << QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
        start = nul + 1;
    }
    return arguments;
}

inline std::string describe(const QStringList& arguments)
{
    return arguments.join(QStringLiteral(" | ")).toStdString();
}

/// Every outcome is one main() can act on: a refusal says why (main prints it and exits with 2),
/// a headless command has what it needs to run, and every value read is within its range.
inline std::string checkCommandLine(std::string_view bytes)
{
    using launcher::CommandLine;
    const QStringList arguments = argumentsOf(bytes);
    const CommandLine c = launcher::readCommandLine(arguments);
    const std::string in = " in " + describe(arguments);
    if ((c.outcome == CommandLine::Outcome::UsageError) == c.error.trimmed().isEmpty()) {
        return "a refusal without a message, or a message without a refusal" + in;
    }
    if (launcher::kUsageErrorStatus != 2) {
        return "a refusal does not exit with 2";
    }
    if (c.outcome == CommandLine::Outcome::UsageError || c.outcome == CommandLine::Outcome::Help ||
        c.outcome == CommandLine::Outcome::Version) {
        return {};
    }
    const bool exporting = !c.exportFormat.isEmpty();
    if ((c.outcome == CommandLine::Outcome::Headless) != (c.check || exporting)) {
        return "headless without a headless command, or windows with one" + in;
    }
    if (c.check && exporting) {
        return "--check and --export were both taken" + in;
    }
    if (exporting &&
        (!(c.exportFormat == QLatin1String("png") || c.exportFormat == QLatin1String("html")) ||
         c.output.isEmpty() || c.files.isEmpty())) {
        return "an export without its format, output or files was taken" + in;
    }
    if (c.check && c.files.isEmpty()) {
        return "a check without files was taken" + in;
    }
    if (c.scale != 1 && c.scale != 2) {
        return "a scale other than 1 or 2 was taken" + in;
    }
    if (!(c.fontSize == 0 || (std::isfinite(c.fontSize) && c.fontSize >= 1 && c.fontSize <= 200))) {
        return "a font size out of range was taken: " + std::to_string(c.fontSize) + in;
    }
    if (c.maxBytes < 1 || c.maxLines < 1) {
        return "a limit below 1 was taken" + in;
    }
    if (c.egaocho && !c.library.isEmpty()) {
        return "--egaocho and --library were both taken" + in;
    }
    return {};
}

}  // namespace masumemo::fuzzcheck
