#include "ExportFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <cmath>

#include "export/HtmlExport.h"
#include "export/PngExport.h"
#include "platform/FileAccess.h"

namespace masumemo::exporting {

QString extensionOf(Format format)
{
    return format == Format::Png ? QStringLiteral("png") : QStringLiteral("html");
}

QByteArray exportBytes(std::u16string_view canvas, const ExportOptions& options)
{
    const Picture picture = layOutPicture(canvas);
    if (options.format == Format::Png) {
        return pngBytes(renderPicture(picture, options.font, options.scale));
    }
    const Geometry geometry = pictureGeometry(options.font);
    HtmlStyle style =
        htmlStyleFor(options.font, static_cast<int>(std::lround(geometry.lineHeight)));
    style.title = options.title;
    return htmlPage(picture, style);
}

QByteArray exportHtmlPages(const std::vector<std::u16string>& pages, const QStringList& headings,
                           const ExportOptions& options)
{
    std::vector<HtmlSection> sections;
    for (size_t i = 0; i < pages.size(); ++i) {
        sections.push_back({static_cast<qsizetype>(i) < headings.size()
                                ? headings[static_cast<qsizetype>(i)]
                                : QString(),
                            layOutPicture(pages[i])});
    }
    const Geometry geometry = pictureGeometry(options.font);
    HtmlStyle style =
        htmlStyleFor(options.font, static_cast<int>(std::lround(geometry.lineHeight)));
    style.title = options.title;
    return htmlPage(sections, style);
}

QString pageTarget(const QString& target, int page, int count)
{
    const QFileInfo name(target);
    const int digits = QString::number(count).size();
    const QString numbered = name.completeBaseName() + QLatin1Char('-') +
                             QStringLiteral("%1").arg(page + 1, digits, 10, QLatin1Char('0'));
    const QString suffix = name.suffix().isEmpty() ? QString() : QLatin1Char('.') + name.suffix();
    const qsizetype slash = target.lastIndexOf(QLatin1Char('/'));
    return (slash < 0 ? QString() : target.left(slash + 1)) + numbered + suffix;
}

QString resolvedPath(const QString& path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QStringList missing;
    for (;;) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) {
            missing.prepend(canonical);
            return QDir::cleanPath(missing.join(QLatin1Char('/')));
        }
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0) {
            return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
        }
        missing.prepend(existing.mid(slash + 1));
        existing.truncate(slash);
    }
}

namespace {

/// The deepest folder holding every one of the absolute paths.
QString commonFolder(const QStringList& absolutePaths)
{
    QStringList common;
    bool first = true;
    for (const QString& path : absolutePaths) {
        QStringList parts = QFileInfo(path).path().split(QLatin1Char('/'));
        if (first) {
            common = parts;
            first = false;
            continue;
        }
        qsizetype same = 0;
        while (same < common.size() && same < parts.size() && common[same] == parts[same]) {
            ++same;
        }
        common.resize(same);
    }
    const QString joined = common.join(QLatin1Char('/'));
    return joined.isEmpty() ? QStringLiteral("/") : joined;
}

}  // namespace

ExportPlan planExport(const QStringList& files, const QString& output, Format format)
{
    ExportPlan plan;
    plan.intoFolder = files.size() > 1 || QFileInfo(output).isDir();
    QStringList absolute;
    QSet<QString> inputs;
    for (const QString& input : files) {
        absolute << QDir::cleanPath(QFileInfo(input).absoluteFilePath());
        inputs.insert(resolvedPath(input));
    }
    const QDir base(commonFolder(absolute));
    QSet<QString> taken;
    for (const QString& input : absolute) {
        QString target = output;
        if (plan.intoFolder) {
            const QString relative = base.relativeFilePath(input);
            const QFileInfo name(relative);
            QString renamed = name.completeBaseName() + QLatin1Char('.') + extensionOf(format);
            if (name.path() != QLatin1String(".")) {
                renamed.prepend(name.path() + QLatin1Char('/'));
            }
            target = QDir(output).filePath(renamed);
        }
        const QString key = resolvedPath(target);
        QString refusal;
        if (inputs.contains(key)) {
            refusal =
                QStringLiteral("書き出し先 %1 は入力のファイルです。書き出しません。").arg(target);
        } else if (taken.contains(key)) {
            refusal = QStringLiteral("同じ名前の書き出し先 %1 は、先のファイルが使っています。")
                          .arg(target);
        }
        taken.insert(key);
        plan.targets << target;
        plan.refusals << refusal;
    }
    return plan;
}

int exportFiles(const QStringList& files, const QString& output, const ExportOptions& options,
                const CanvasReader& read, const std::function<void(const QString&)>& report)
{
    // Every clash is found before the first byte is written, so no input is ever replaced.
    const ExportPlan plan = planExport(files, output, options.format);
    if (plan.intoFolder && !QDir().mkpath(output)) {
        report(QStringLiteral("%1: フォルダーを作れません。").arg(output));
        return 1;
    }
    int status = 0;
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& input = files[i];
        const QString& target = plan.targets[i];
        const auto fail = [&](const QString& why) {
            report(QStringLiteral("%1: %2").arg(input, why));
            status = 1;
        };
        if (!plan.refusals[i].isEmpty()) {
            fail(plan.refusals[i]);
            continue;
        }
        const QString folder = QFileInfo(target).path();
        if (plan.intoFolder && !QDir().mkpath(folder)) {
            fail(QStringLiteral("%1: フォルダーを作れません。").arg(folder));
            continue;
        }
        const CanvasText canvas = read(input);
        if (!canvas.ok) {
            fail(canvas.error);
            continue;
        }
        ExportOptions each = options;
        if (each.title.isEmpty()) {
            each.title = QFileInfo(input).fileName();
        }
        // A file of several pages: one image per page, or one HTML page holding them all.
        std::vector<std::pair<QString, QByteArray>> written;
        if (canvas.pages.size() > 1 && options.format == Format::Png) {
            const int count = static_cast<int>(canvas.pages.size());
            for (int p = 0; p < count; ++p) {
                written.emplace_back(pageTarget(target, p, count),
                                     exportBytes(canvas.pages[static_cast<size_t>(p)], each));
            }
        } else if (canvas.pages.size() > 1) {
            written.emplace_back(target, exportHtmlPages(canvas.pages, canvas.headings, each));
        } else {
            written.emplace_back(target, exportBytes(canvas.text, each));
        }
        for (const auto& [path, bytes] : written) {
            if (bytes.isEmpty()) {
                fail(QStringLiteral("画像を作れませんでした（大きすぎます）。"));
                continue;
            }
            const platform::FileProblem problem = platform::writeWholeFile(
                path, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
            if (problem != platform::FileProblem::None) {
                fail(QStringLiteral("%1 に書き込めません。%2")
                         .arg(path, platform::problemText(problem)));
            }
        }
    }
    return status;
}

}  // namespace masumemo::exporting
