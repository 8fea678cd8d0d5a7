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
        const BoardReport report = BoardCheck(checked.text, limits);
        for (const Problem& p : report.problems) {
            QString message = problemText(p.kind);
            if (p.kind == ProblemKind::TooManyBytes) {
                message += QStringLiteral("（%1 / %2）").arg(report.bytes).arg(limits.maxBytes);
            } else if (p.kind == ProblemKind::TooManyLines) {
                message += QStringLiteral("（%1 / %2）").arg(report.lines).arg(limits.maxLines);
            }
            out << file << ':' << p.line << ':' << p.column + 1 << QStringLiteral(": ") << message
                << '\n';
        }
        anyProblem = anyProblem || !report.problems.empty();
        out << file << QStringLiteral(": バイト数 %1 / %2、行数 %3 / %4、問題 %5")
                           .arg(report.bytes)
                           .arg(limits.maxBytes)
                           .arg(report.lines)
                           .arg(limits.maxLines)
                           .arg(report.problems.size())
            << Qt::endl;
    }
    return anyUnread ? 2 : anyProblem ? 1 : 0;
}

}  // namespace masumemo::check
