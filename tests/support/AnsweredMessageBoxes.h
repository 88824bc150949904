#pragma once

#include "services/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <deque>
#include <memory>

namespace bryx::test {

// For the lifetime of the object the real message boxes come up, modal. Each box shown is
// activated as a desktop's window manager activates it, so it takes the focus from the window
// under it; it is then answered with a click on the button of the next queued answer (its
// default button when the queue is empty), and the window under it is activated again.
// A box shown while another is being answered is answered too, in its own turn.
class AnsweredMessageBoxes {
public:
    AnsweredMessageBoxes()
        : m_previous(MessageBoxService::install(nullptr))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { lookForABox(); });
        m_poll.start(PollMilliseconds);
    }
    ~AnsweredMessageBoxes() { MessageBoxService::install(std::move(m_previous)); }
    AnsweredMessageBoxes(const AnsweredMessageBoxes&) = delete;
    AnsweredMessageBoxes& operator=(const AnsweredMessageBoxes&) = delete;

    void answer(QMessageBox::StandardButton button) { m_answers.push_back(button); }
    const QStringList& shown() const { return m_shown; }
    // How many boxes had the focus when they were answered: the proof that they took it.
    int focusedCount() const { return m_focused; }

private:
    static constexpr int PollMilliseconds = 20;

    void lookForABox()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box && QApplication::activeWindow())
            m_under = QApplication::activeWindow();
        if (!box || !box->isVisible() || m_answering.contains(box))
            return;
        m_answering << box;
        // Answered from a timer of its own, so that a box this one's activation brings up is
        // still seen by the poll.
        QTimer::singleShot(0, box, [this, box] { activateAndAnswer(*box); });
    }

    void activateAndAnswer(QMessageBox& box)
    {
        const QPointer<QWidget> under = m_under;
        m_under = &box; // a box shown over this one goes back to it
        m_shown << box.text();
        QApplication::setActiveWindow(&box);
        if (QApplication::focusWidget() && box.isAncestorOf(QApplication::focusWidget()))
            ++m_focused;
        QAbstractButton* button = nullptr;
        if (!m_answers.empty()) {
            button = box.button(m_answers.front());
            m_answers.pop_front();
        }
        if (!button)
            button = box.defaultButton();
        if (!button)
            button = box.buttons().value(0);
        m_answering.removeAll(&box);
        if (button)
            button->click();
        m_under = under;
        if (under)
            QApplication::setActiveWindow(under);
    }

    std::unique_ptr<MessageBoxService> m_previous;
    QTimer m_poll;
    QList<QPointer<QMessageBox>> m_answering;
    QPointer<QWidget> m_under; // the window a box comes up over
    std::deque<QMessageBox::StandardButton> m_answers;
    QStringList m_shown;
    int m_focused = 0;
};

} // namespace bryx::test
