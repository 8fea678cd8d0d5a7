#include "ScriptedDialogs.h"

namespace masumemo::testing {

ScriptedDialogs::ScriptedDialogs()
{
    platform::Dialogs::install(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    platform::Dialogs::install(nullptr);
}

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_paths.clear();
    m_filters.clear();
    m_messages.clear();
    m_fileAsks.clear();
    m_texts.clear();
    m_prompts.clear();
}

platform::Dialogs::Answer ScriptedDialogs::message(QWidget*, const QString& text, Buttons buttons,
                                                   Icon icon)
{
    m_messages.push_back({text, buttons, icon});
    if (!m_answers.empty()) {
        const Answer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
            return Answer::Cancel;
    }
    return Answer::Ok;
}

QString ScriptedDialogs::nextPath(bool save, const FileRequest& request)
{
    m_fileAsks.push_back({save, request});
    if (m_paths.empty()) {
        return {};
    }
    QString path = m_paths.front();
    m_paths.pop_front();
    if (request.chosenFilter) {
        *request.chosenFilter = m_filters.front();
    }
    m_filters.pop_front();
    return path;
}

QString ScriptedDialogs::openFileName(QWidget*, const FileRequest& request)
{
    return nextPath(false, request);
}

QString ScriptedDialogs::saveFileName(QWidget*, const FileRequest& request)
{
    return nextPath(true, request);
}

QString ScriptedDialogs::folderName(QWidget*, const QString& title, const QString& initialPath)
{
    return nextPath(false, {title, QString(), initialPath});
}

std::optional<QString> ScriptedDialogs::askText(QWidget*, const QString& prompt, const QString&)
{
    m_prompts << prompt;
    if (m_texts.empty()) {
        return std::nullopt;
    }
    QString text = m_texts.front();
    m_texts.pop_front();
    return text;
}

}  // namespace masumemo::testing
