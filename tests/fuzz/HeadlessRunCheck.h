#pragma once
// What must hold when a command line read from any input runs as main() runs it, in this
// process: --check and --export on files the input holds, in a folder of their own. Shared by
// the command-line fuzzer and the replay of the inputs it found. The check answers an empty
// string, or what went wrong.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <unistd.h>

#include "launcher/HeadlessCommands.h"
#include "platform/AppPaths.h"
#include "tests/fuzz/CommandLineCheck.h"

namespace masumemo::fuzzcheck {

/// An offscreen application for the pictures export draws, and a program folder of its own
/// so the settings it reads are nobody's.
inline void prepareHeadlessRuns()
{
    static QTemporaryDir program;
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "masumemo";
        static char* argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);
    }
    platform::AppPaths::setProgramDirectoryForTesting(program.path());
}

/// Runs fn with the standard output and error going to files in folder; answers what went to
/// the standard error.
template <typename Fn>
QByteArray withOutputIn(const QString& folder, Fn fn)
{
    std::fflush(stdout);
    std::fflush(stderr);
    const int savedOut = dup(1);
    const int savedErr = dup(2);
    const QByteArray errPath = QFile::encodeName(folder + QStringLiteral("/.stderr"));
    const QByteArray outPath = QFile::encodeName(folder + QStringLiteral("/.stdout"));
    const int out = open(outPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(errPath.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 1);
    dup2(err, 2);
    fn();
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(savedOut, 1);
    dup2(savedErr, 2);
    for (int fd : {out, err, savedOut, savedErr}) {
        close(fd);
    }
    QFile written(QString::fromLocal8Bit(errPath));
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

/// The input: the arguments split at NUL bytes up to the first pair of NULs, then the bytes
/// every named file holds (a name starting with "x" is left missing). Only plain names are
/// run, so nothing outside the run's folder is ever read or written.
inline std::string checkHeadlessRun(std::string_view bytes)
{
    const size_t split = bytes.find(std::string_view("\0\0", 2));
    const std::string_view args = split == std::string_view::npos ? bytes : bytes.substr(0, split);
    const std::string_view content =
        split == std::string_view::npos ? std::string_view() : bytes.substr(split + 2);
    const QStringList arguments = argumentsOf(args);
    const launcher::CommandLine c = launcher::readCommandLine(arguments);
    if (c.outcome != launcher::CommandLine::Outcome::Headless) {
        return {};
    }
    const auto plain = [](const QString& name) {
        return !name.isEmpty() && name.size() < 40 && !name.contains(QLatin1Char('/')) &&
               !name.startsWith(QLatin1Char('.'));
    };
    if (c.files.size() > 6 || !std::all_of(c.files.begin(), c.files.end(), plain) ||
        (!c.output.isEmpty() && !plain(c.output))) {
        return {};
    }
    prepareHeadlessRuns();
    QTemporaryDir dir;
    const QByteArray held(content.data(), static_cast<qsizetype>(content.size()));
    QMap<QString, QByteArray> inputs;
    for (const QString& name : c.files) {
        if (name.startsWith(QLatin1Char('x'))) {
            continue;
        }
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(held) != held.size()) {
            return {};  // a name the file system does not take
        }
        inputs.insert(name, held);
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    int status = 0;
    const QByteArray said = withOutputIn(dir.path(), [&] { status = launcher::runHeadless(c); });
    QDir::setCurrent(previous);

    const std::string in = " in " + describe(arguments);
    if (status < 0 || status > 2) {
        return "exit status " + std::to_string(status) + in;
    }
    if (status == launcher::kUsageErrorStatus && said.trimmed().isEmpty()) {
        return "exit status 2 without a message" + in;
    }
    if (!c.exportFormat.isEmpty() && status != 0 && said.trimmed().isEmpty()) {
        return "a refused export without a message" + in;
    }
    for (auto it = inputs.cbegin(); it != inputs.cend(); ++it) {
        QFile file(dir.filePath(it.key()));
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != it.value()) {
            return "input " + it.key().toStdString() + " changed" + in;
        }
    }
    return {};
}

/// Both: the command line as read, and as run.
inline std::string checkCommandLineAndRun(std::string_view bytes)
{
    std::string problem = checkCommandLine(bytes);
    return problem.empty() ? checkHeadlessRun(bytes) : problem;
}

}  // namespace masumemo::fuzzcheck
