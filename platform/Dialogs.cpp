#include "Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>
#include <algorithm>

namespace masumemo::platform {
namespace {

Dialogs* g_installed = nullptr;

QMessageBox::Icon toQtIcon(Dialogs::Icon icon)
{
    switch (icon) {
        case Dialogs::Icon::Question:
            return QMessageBox::Question;
        case Dialogs::Icon::Information:
            return QMessageBox::Information;
        case Dialogs::Icon::Warning:
            return QMessageBox::Warning;
        case Dialogs::Icon::Critical:
            return QMessageBox::Critical;
        case Dialogs::Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

Dialogs& Dialogs::instance()
{
    static QtDialogs real;
    return g_installed ? *g_installed : real;
}

void Dialogs::install(Dialogs* d)
{
    g_installed = d;
}

QString Dialogs::folderName(QWidget*, const QString&, const QString&)
{
    return {};
}

std::optional<QString> Dialogs::askText(QWidget*, const QString&, const QString&)
{
    return std::nullopt;
}

Dialogs::Answer QtDialogs::message(QWidget* parent, const QString& text, Buttons buttons, Icon icon)
{
    QMessageBox box(toQtIcon(icon), kProgramTitle, text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            break;
    }
    return buttons == Buttons::YesNoCancel ? Answer::Cancel
           : buttons == Buttons::YesNo     ? Answer::No
                                           : Answer::Ok;
}

QString QtDialogs::openFileName(QWidget* parent, const FileRequest& request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The file need not exist: a typed name of a missing file is the caller's to report.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(qtFileFilter(request.filter));
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.initialPath.isEmpty()) {
        dialog.selectFile(request.initialPath);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFileName(QWidget* parent, const FileRequest& request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(qtFileFilter(request.filter));
    // The dialog adds the suffix before it asks about overwriting, so it asks about the
    // file that will really be written.
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialPath.isEmpty()) {
        dialog.selectFile(request.initialPath);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    if (request.chosenFilter) {
        const QStringList filters = qtFileFilter(request.filter).split(QStringLiteral(";;"));
        *request.chosenFilter = std::max(0, static_cast<int>(
                                                filters.indexOf(dialog.selectedNameFilter())));
    }
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::folderName(QWidget* parent, const QString& title, const QString& initialPath)
{
    return QFileDialog::getExistingDirectory(parent, title, initialPath);
}

std::optional<QString> QtDialogs::askText(QWidget* parent, const QString& prompt,
                                          const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent, kProgramTitle, prompt, QLineEdit::Normal, initial, &ok);
    return ok ? std::optional<QString>(text) : std::nullopt;
}

QString qtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = parts[i + 1];
        const QString suffix = QLatin1Char('(') + pattern + QLatin1Char(')');
        filters << (description.endsWith(suffix) ? description
                                                 : description + QLatin1Char(' ') + suffix);
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace masumemo::platform
