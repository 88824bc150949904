#pragma once

#include "services/Screen.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <vector>

namespace bryx::test {

// Replaces the desktop services for a test: records pointer changes, pending-event runs, keys
// and help requests, and runs `whileShown` in place of a modal display, so a test can act on a
// dialog while it is "shown".
class ScriptedDesktop {
public:
    ScriptedDesktop() { m_previous = DesktopServices::install(std::make_unique<Service>(*this)); }
    ~ScriptedDesktop() { DesktopServices::install(std::move(m_previous)); }
    ScriptedDesktop(const ScriptedDesktop&) = delete;
    ScriptedDesktop& operator=(const ScriptedDesktop&) = delete;

    std::function<void(QDialog&)> whileShown;
    std::vector<int> pointers;
    int eventRuns = 0;
    QStringList keys;
    QStringList help; // "file#context"

private:
    class Service final : public DesktopServices {
    public:
        explicit Service(ScriptedDesktop& owner)
            : m_owner(owner)
        {
        }
        void setMousePointer(int pointer) override
        {
            m_pointer = pointer;
            m_owner.pointers.push_back(pointer);
        }
        int mousePointer() const override { return m_pointer; }
        void doEvents() override { ++m_owner.eventRuns; }
        void sendKeys(const QString& keys) override { m_owner.keys << keys; }
        void showModal(QDialog& dialog) override
        {
            dialog.show();
            if (m_owner.whileShown)
                m_owner.whileShown(dialog);
            dialog.hide();
        }
        void showHelp(const QString& file, int context) override
        {
            m_owner.help << QStringLiteral("%1#%2").arg(file).arg(context);
        }

    private:
        ScriptedDesktop& m_owner;
        int m_pointer = MousePointer::Default;
    };

    std::unique_ptr<DesktopServices> m_previous;
};

} // namespace bryx::test
