#pragma once
// Keystrokes and caret moves as the benchmarks send them to an edit widget.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

#include <functional>

namespace masumemo::bench {

inline void sendKey(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QCoreApplication::sendEvent(to, &release);
}

inline void placeCaretAtLine(QPlainTextEdit& edit, int block)
{
    QTextCursor cursor = edit.textCursor();
    cursor.setPosition(edit.document()->findBlockByNumber(block).position());
    edit.setTextCursor(cursor);
}

/// A keystroke a call: at the start of each of `lines` lines from `first` on in turn, "x" one
/// round and "y" the next so every keystroke changes the text, then the events it causes (paints
/// too).
inline std::function<void()> typistAtLineStarts(QPlainTextEdit& edit, int first, int lines)
{
    return [&edit, first, lines, typed = 0L]() mutable {
        const int line = first + static_cast<int>(typed % lines);
        const bool odd = (typed / lines) % 2 != 0;
        ++typed;
        placeCaretAtLine(edit, line);
        sendKey(&edit, odd ? Qt::Key_Y : Qt::Key_X, Qt::NoModifier,
                odd ? QStringLiteral("y") : QStringLiteral("x"));
        QCoreApplication::processEvents();
    };
}

}  // namespace masumemo::bench
