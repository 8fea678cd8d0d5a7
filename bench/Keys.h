#pragma once
// Keystrokes and caret moves as the benchmarks send them to an edit widget.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>

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

}  // namespace masumemo::bench
