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
        const QByteArray bytes = exportBytes(canvas.text, each);
        if (bytes.isEmpty()) {
            fail(QStringLiteral("画像を作れませんでした（大きすぎます）。"));
            continue;
        }
        const platform::FileProblem problem = platform::writeWholeFile(
            target, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        if (problem != platform::FileProblem::None) {
            fail(QStringLiteral("%1 に書き込めません。%2")
                     .arg(target, platform::problemText(problem)));
        }
    }
    return status;
}

}  // namespace masumemo::exporting
