#pragma once

#include "services/MessageBox.h"

#include <QString>
#include <deque>
#include <memory>
#include <vector>

namespace bryx::test {

// Replaces the message-box service for the lifetime of the object: records every box shown
// and answers from a queue (OK when the queue is empty).
class ScriptedMessageBox {
public:
    struct Shown {
        QString prompt;
        int style;
        QString title;
    };

    ScriptedMessageBox()
    {
        auto service = std::make_unique<Service>(*this);
        m_previous = MessageBoxService::install(std::move(service));
    }
    ~ScriptedMessageBox() { MessageBoxService::install(std::move(m_previous)); }
    ScriptedMessageBox(const ScriptedMessageBox&) = delete;
    ScriptedMessageBox& operator=(const ScriptedMessageBox&) = delete;

    void answer(int button) { m_answers.push_back(button); }
    const std::vector<Shown>& shown() const { return m_shown; }

private:
    class Service final : public MessageBoxService {
    public:
        explicit Service(ScriptedMessageBox& owner)
            : m_owner(owner)
        {
        }
        int show(const QString& prompt, int style, const QString& title) override
        {
            m_owner.m_shown.push_back({prompt, style, title});
            if (m_owner.m_answers.empty())
                return MsgBoxResult::OK;
            const int answer = m_owner.m_answers.front();
            m_owner.m_answers.pop_front();
            return answer;
        }

    private:
        ScriptedMessageBox& m_owner;
    };

    std::unique_ptr<MessageBoxService> m_previous;
    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
};

} // namespace bryx::test
