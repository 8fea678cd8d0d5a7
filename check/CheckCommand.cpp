#include "CheckCommand.h"

#include "check/ProblemList.h"

namespace masumemo::check {

int runCheckCommand(const QStringList& files, const BoardLimits& limits,
                    const CheckFileReader& read, QTextStream& out, QTextStream& err)
{
    bool anyProblem = false;
    bool anyUnread = false;
    for (const QString& file : files) {
        const CheckedFile checked = read(file);
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
