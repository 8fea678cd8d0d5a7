#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>

#include "launcher/Identity.h"
#include "launcher/PlatformChoice.h"

namespace masumemo::launcher {
namespace {

struct OptionEntry
{
    const char* name;
    const char* valueName;  ///< nullptr for a switch
    const char* description;
    bool headless;          ///< runs without windows and needs no display
};

// Every option of the program, in the order the help text lists them.
const OptionEntry kOptions[] = {
    {"egaocho", nullptr, "Egaochoだけを開きます。", false},
    {"library", "PATH", "AA素材のウィンドウをPATH（フォルダーかファイル）で開きます。", false},
    {"export", "png|html", "FILE... を画像（PNG）かHTMLに書き出します。ウィンドウは開きません。",
     true},
    {"output", "PATH", "書き出し先。FILEが一つならファイル、複数ならフォルダー。", false},
    {"scale", "1|2", "PNGの倍率（既定は1）。", false},
    {"font-size", "PT", "PNGの文字の大きさ（ポイント）。既定はキャンバスと同じ。", false},
    {"font", "NAME", "書き出しのフォント（既定はエディターで最後に選んだフォント）。", false},
    {"check", nullptr,
     "FILE... を掲示板への投稿向けに調べ、問題を FILE:行:列: の形で表示します。ウィンドウは開きません。",
     true},
    {"max-bytes", "N", "--check のバイト数の上限（既定は4096）。", false},
    {"max-lines", "N", "--check の行数の上限（既定は64）。", false},
    {"no-unicode", nullptr,
     "--check で、Shift_JISにない文字を問題にします（文字参照を表示しない掲示板向け）。", false},
};

QString name(const OptionEntry& e)
{
    return QLatin1String(e.name);
}

/// The parser with every option; help and version are given back for isSet().
struct Parser
{
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;

    Parser()
        : help({QStringLiteral("h"), QStringLiteral("help")},
               QStringLiteral("この使い方を表示します。")),
          version({QStringLiteral("v"), QStringLiteral("version")},
                  QStringLiteral("バージョンを表示します。"))
    {
        parser.addOption(help);
        parser.addOption(version);
        parser.setApplicationDescription(
            QStringLiteral("Masumemo: 等幅の升目に文字で絵を描くエディター"));
        for (const OptionEntry& e : kOptions) {
            QCommandLineOption option(name(e), QString::fromUtf8(e.description));
            if (e.valueName) {
                option.setValueName(QLatin1String(e.valueName));
            }
            parser.addOption(option);
        }
        parser.addPositionalArgument(QStringLiteral("FILE"),
                                     QStringLiteral("開くファイル（--export では書き出すファイル）。"),
                                     QStringLiteral("[FILE...]"));
    }
};

const OptionEntry* optionNamed(const QString& name)
{
    const auto* e = std::find_if(std::begin(kOptions), std::end(kOptions),
                                 [&name](const OptionEntry& e) { return name == QLatin1String(e.name); });
    return e != std::end(kOptions) ? e : nullptr;
}

/// The first argument before "--" that looks like an option the program does not have, as typed.
QString unknownOption(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--")) {
            break;
        }
        if (!a.startsWith(QLatin1Char('-')) || a == QLatin1String("-")) {
            continue;
        }
        const bool isLong = a.startsWith(QLatin1String("--"));
        const QString bare = a.mid(isLong ? 2 : 1).section(u'=', 0, 0);
        const OptionEntry* option = isLong ? optionNamed(bare) : nullptr;
        if (bare == QLatin1String("h") || bare == QLatin1String("help") ||
            bare == QLatin1String("v") || bare == QLatin1String("version")) {
            continue;
        }
        if (option == nullptr) {
            return a;
        }
        if (option->valueName != nullptr && !a.contains(u'=')) {
            ++i;  // its value, which may itself begin with "-"
        }
    }
    return {};
}

CommandLine usageError(const QString& why)
{
    CommandLine c;
    c.outcome = CommandLine::Outcome::UsageError;
    c.error = why;
    return c;
}

/// The checks that only make sense with every option read; empty when the combination is fine.
QString combinationError(const CommandLine& c, const QCommandLineParser& parser)
{
    // "--export=" names no format, yet asks for an export: refused like any other format.
    const bool exporting = parser.isSet(QStringLiteral("export"));
    if (!exporting) {
        for (const char* exportOnly : {"output", "scale", "font-size", "font"}) {
            if (parser.isSet(QLatin1String(exportOnly))) {
                return QStringLiteral("--%1 は --export と一緒に使います。")
                    .arg(QLatin1String(exportOnly));
            }
        }
    } else {
        if (c.exportFormat != QLatin1String("png") && c.exportFormat != QLatin1String("html")) {
            return QStringLiteral("--export には png か html を指定します。");
        }
        if (c.output.isEmpty()) {
            return QStringLiteral("--export には --output PATH が必要です。");
        }
        if (c.files.isEmpty()) {
            return QStringLiteral("書き出すファイルがありません。");
        }
    }
    if (!c.check) {
        for (const char* checkOnly : {"max-bytes", "max-lines", "no-unicode"}) {
            if (parser.isSet(QLatin1String(checkOnly))) {
                return QStringLiteral("--%1 は --check と一緒に使います。")
                    .arg(QLatin1String(checkOnly));
            }
        }
    } else if (exporting) {
        return QStringLiteral("--check と --export は一緒に使えません。");
    } else if (c.files.isEmpty()) {
        return QStringLiteral("調べるファイルがありません。");
    }
    if (c.egaocho && !c.library.isEmpty()) {
        return QStringLiteral("--egaocho と --library は一緒に指定できません。");
    }
    if (c.egaocho && !c.files.isEmpty() && !exporting && !c.check) {
        return QStringLiteral("--egaocho とファイルは一緒に指定できません。");
    }
    return {};
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    Parser p;
    if (!p.parser.parse(arguments)) {
        // The parser would spell "-name.txt" out as the one-letter options d, a, s...
        if (const QString typed = unknownOption(arguments); !typed.isEmpty()) {
            return usageError(QStringLiteral("未知のオプション: %1\n"
                                             "「-」で始まるファイル名は「--」の後に書きます"
                                             "（例: -- %1）。")
                                  .arg(typed));
        }
        return usageError(p.parser.errorText());
    }
    CommandLine c;
    if (p.parser.isSet(p.help)) {
        c.outcome = CommandLine::Outcome::Help;
        return c;
    }
    if (p.parser.isSet(p.version)) {
        c.outcome = CommandLine::Outcome::Version;
        return c;
    }

    c.files = p.parser.positionalArguments();
    c.egaocho = p.parser.isSet(QStringLiteral("egaocho"));
    c.library = p.parser.value(QStringLiteral("library"));
    c.exportFormat = p.parser.value(QStringLiteral("export")).toLower();
    c.output = p.parser.value(QStringLiteral("output"));
    if (p.parser.isSet(QStringLiteral("scale"))) {
        const QString scale = p.parser.value(QStringLiteral("scale"));
        if (scale != QLatin1String("1") && scale != QLatin1String("2")) {
            return usageError(QStringLiteral("--scale は 1 か 2 です。"));
        }
        c.scale = scale.toInt();
    }
    if (p.parser.isSet(QStringLiteral("font-size"))) {
        bool ok = false;
        c.fontSize = p.parser.value(QStringLiteral("font-size")).toDouble(&ok);
        // Written so that "nan", which reads as a number, fails it too.
        if (!ok || !(c.fontSize >= 1 && c.fontSize <= 200)) {
            return usageError(QStringLiteral("--font-size は 1 から 200 までのポイント数です。"));
        }
    }

    if (p.parser.isSet(QStringLiteral("font"))) {
        c.font = p.parser.value(QStringLiteral("font")).trimmed();
        if (c.font.isEmpty()) {
            return usageError(QStringLiteral("--font にはフォント名を指定します。"));
        }
    }

    c.check = p.parser.isSet(QStringLiteral("check"));
    c.passesUnicode = !p.parser.isSet(QStringLiteral("no-unicode"));
    for (const auto& [option, field] : {std::pair{"max-bytes", &c.maxBytes},
                                        std::pair{"max-lines", &c.maxLines}}) {
        if (p.parser.isSet(QLatin1String(option))) {
            const QString text = p.parser.value(QLatin1String(option)).trimmed();
            bool ok = false;
            const qlonglong value = text.toLongLong(&ok);
            const bool digits = !text.isEmpty() &&
                                std::all_of(text.begin(), text.end(), [](QChar ch) {
                                    return ch >= u'0' && ch <= u'9';
                                });
            if (digits && (!ok || value > check::kLargestLimit)) {
                return usageError(QStringLiteral("--%1 が大きすぎます。%2 までの数です。")
                                      .arg(QLatin1String(option))
                                      .arg(check::kLargestLimit));
            }
            if (!ok || value < 1) {
                return usageError(
                    QStringLiteral("--%1 は 1 以上の数です。").arg(QLatin1String(option)));
            }
            *field = static_cast<int>(value);
        }
    }

    if (const QString why = combinationError(c, p.parser); !why.isEmpty()) {
        return usageError(why);
    }
    for (const OptionEntry& e : kOptions) {
        if (e.headless && p.parser.isSet(name(e))) {
            c.outcome = CommandLine::Outcome::Headless;
        }
    }
    return c;
}

QString helpText()
{
    return Parser().parser.helpText();
}

QString versionLine()
{
    return QStringLiteral("masumemo %1.%2.%3")
        .arg(kVersionMajor)
        .arg(kVersionMinor)
        .arg(kVersionRevision);
}

bool chooseDisplayPlatform(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const DisplayEnvironment env{
        .x11 = !qEnvironmentVariableIsEmpty("DISPLAY"),
        .wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"),
        .platformChosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"),
    };
    // Read before Qt takes its own options out (-session when the desktop restores the program,
    // -style, -platform): a list it calls wrong may still be one for windows, so it keeps the
    // display when there is one.
    const CommandLine::Outcome outcome = readCommandLine(arguments).outcome;
    const bool windows = outcome == CommandLine::Outcome::Windows ||
                         (outcome == CommandLine::Outcome::UsageError && env.x11);
    if (const char* platform = displayPlatform(env, windows)) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
    return windows;
}

void keepQtQuiet()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtFatalMsg) {
            const QByteArray bytes = text.toLocal8Bit();
            std::fprintf(stderr, "%s\n", bytes.constData());
            std::abort();
        }
    });
}

}  // namespace masumemo::launcher
