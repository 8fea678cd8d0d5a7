#include "CheckCommand.h"

#include <algorithm>

#include "check/ProblemList.h"

namespace masumemo::check {

QString reportedName(const QString& path)
{
    const auto control = [](QChar c) { return c.category() == QChar::Other_Control; };
    if (std::none_of(path.begin(), path.end(), control)) {
        return path;
    }
    QString escaped;
    for (const QChar c : path) {
        switch (c.unicode()) {
            case u'\\':
                escaped += QStringLiteral("\\\\");
                break;
            case u'\n':
                escaped += QStringLiteral("\\n");
                break;
            case u'\r':
                escaped += QStringLiteral("\\r");
                break;
            case u'\t':
                escaped += QStringLiteral("\\t");
                break;
            default:
                escaped += control(c) ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'))
                                      : QString(c);
        }
    }
    return escaped;
}

int runCheckCommand(const QStringList& files, const BoardLimits& limits,
                    const CheckFileReader& read, QTextStream& out, QTextStream& err)
{
    bool anyProblem = false;
    bool anyUnread = false;
    for (const QString& path : files) {
        const CheckedFile checked = read(path);
        const QString file = reportedName(path);
        if (!checked.ok) {
            err << file << QStringLiteral(": ") << checked.error << Qt::endl;
            anyUnread = true;
            continue;
        }
        const auto checkPost = [&](std::u16string_view text, int firstLine, const QString& page) {
            const BoardReport report = BoardCheck(text, limits);
            for (const Problem& p : report.problems) {
                QString message = page + problemText(p.kind);
                if (p.kind == ProblemKind::TooManyBytes) {
                    message += QStringLiteral("（%1 / %2）").arg(report.bytes).arg(limits.maxBytes);
                } else if (p.kind == ProblemKind::TooManyLines) {
                    message += QStringLiteral("（%1 / %2）").arg(report.lines).arg(limits.maxLines);
                }
                out << file << ':' << firstLine + p.line - 1 << ':' << p.column + 1
                    << QStringLiteral(": ") << message << '\n';
            }
            anyProblem = anyProblem || !report.problems.empty();
            out << file << QStringLiteral(": ") << page
                << QStringLiteral("バイト数 %1 / %2、行数 %3 / %4、問題 %5")
                       .arg(report.bytes)
                       .arg(limits.maxBytes)
                       .arg(report.lines)
                       .arg(limits.maxLines)
                       .arg(report.problems.size())
                << Qt::endl;
        };
        if (checked.pages.empty()) {
            checkPost(checked.text, 1, QString());
        }
        for (size_t i = 0; i < checked.pages.size(); ++i) {
            checkPost(checked.pages[i].text, checked.pages[i].firstLine,
                      QStringLiteral("ﾍﾟｰｼﾞ %1: ").arg(i + 1));
        }
    }
    return anyUnread ? 2 : anyProblem ? 1 : 0;
}

}  // namespace masumemo::check
