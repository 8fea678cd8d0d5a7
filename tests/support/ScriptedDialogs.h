#pragma once
// Answers the program's message boxes and file dialogs from a script, and records what was
// asked, so widget tests never block on a modal dialog.

#include <QString>
#include <QStringList>
#include <deque>

#include "platform/Dialogs.h"

namespace masumemo::testing {

class ScriptedDialogs final : public platform::Dialogs
{
public:
    struct Message
    {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    struct FileAsk
    {
        bool save;
        FileRequest request;
    };

    /// Installs itself for the lifetime of the object.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    /// Queues the answer to the next message box (unqueued boxes answer Ok, No, or Cancel).
    void answer(Answer a) { m_answers.push_back(a); }
    /// Queues the path the next file dialog returns (an empty path cancels) and the index of
    /// the filter it reports as chosen.
    void choose(const QString& path, int filter = 0)
    {
        m_paths.push_back(path);
        m_filters.push_back(filter);
    }
    /// Queues the text the next text prompt returns (unqueued prompts are cancelled).
    void type(const QString& text) { m_texts.push_back(text); }

    const std::vector<Message>& messages() const { return m_messages; }
    const std::vector<FileAsk>& fileAsks() const { return m_fileAsks; }
    const QStringList& prompts() const { return m_prompts; }
    void clear();

    Answer message(QWidget* parent, const QString& text, Buttons buttons, Icon icon) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    QString folderName(QWidget* parent, const QString& title,
                       const QString& initialPath) override;
    std::optional<QString> askText(QWidget* parent, const QString& prompt,
                                   const QString& initial) override;

private:
    QString nextPath(bool save, const FileRequest& request);

    std::deque<Answer> m_answers;
    std::deque<QString> m_paths;
    std::deque<QString> m_texts;
    QStringList m_prompts;
    std::deque<int> m_filters;
    std::vector<Message> m_messages;
    std::vector<FileAsk> m_fileAsks;
};

}  // namespace masumemo::testing
