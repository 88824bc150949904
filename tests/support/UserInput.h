#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace bryx::test {

// What a user's hand does, delivered as the events Qt would deliver: mouse presses, drags,
// releases and clicks at a point of a widget, and key strokes.
inline void sendMouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {})
{
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(&widget, &event);
}

inline void mousePress(QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers = {})
{
    sendMouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, modifiers);
}

inline void mouseDrag(QWidget& widget, QPoint to)
{
    sendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
}

inline void mouseRelease(QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers = {})
{
    sendMouse(widget, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, modifiers);
}

inline void mouseClick(QWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers = {})
{
    mousePress(widget, at, modifiers);
    mouseRelease(widget, at, modifiers);
}

inline void mouseDoubleClick(QWidget& widget, QPoint at)
{
    mouseClick(widget, at);
    sendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    mouseRelease(widget, at);
}

inline void keyClick(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = {}, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&widget, &up);
}

// Types the text one key at a time, as a keyboard does (Latin letters, digits and signs, whose
// key codes are their upper-case characters).
inline void typeKeys(QWidget& widget, const QString& text)
{
    for (const QChar character : text)
        keyClick(widget, character.toUpper().unicode(), {}, QString(character));
}

// Selects all of a box's text and types over it.
inline void typeOver(QWidget& widget, const QString& text)
{
    keyClick(widget, Qt::Key_A, Qt::ControlModifier);
    typeKeys(widget, text);
}

} // namespace bryx::test
