#pragma once

// bryx-host's main window on a fresh reference database, and how tests reach into it.
#include "../../support/ConfigFolder.h"
#include "../../support/ScriptedDesktop.h"
#include "../../support/ScriptedMessageBox.h"
#include "../TestDatabase.h"
#include "ComponentWindow.h"
#include "MainWindow.h"
#include "controls/Controls.h"
#include "hosting/UserControl.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"

#include <QAction>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace bryx::test {

using namespace bryx::host;

class HostApplication : public OnEachEngineWithHost {
protected:
    std::unique_ptr<MainWindow> start(std::shared_ptr<SqlAppManager> manager)
    {
        auto window = std::make_unique<MainWindow>(std::move(manager), registration::thisLibraryPath());
        window->show();
        return window;
    }
    template<typename T> static T& control(ComponentWindow& window, const char* name)
    {
        T* found = window.component()->findChild<T*>(QLatin1String(name));
        if (!found)
            throw std::runtime_error(std::string("no control ") + name);
        return *found;
    }
    static QAction& menuItem(ComponentWindow& window, const char* name)
    {
        for (QObject* item : window.component()->controlsCollection()) {
            if (item->objectName() == QLatin1String(name))
                return *qobject_cast<QAction*>(item);
        }
        throw std::runtime_error(std::string("no menu item ") + name);
    }
    static QStringList menuCaptions(MainWindow& window)
    {
        QStringList captions;
        for (QAction* menu : window.menuBar()->actions())
            captions << menu->text();
        return captions;
    }
    static void search(ComponentWindow& window, const QString& text)
    {
        control<TextBox>(window, "txtFindNameSciName").setText(text);
        control<CommandButton>(window, "cmdStartSearch").click();
    }

    ConfigFolder config;
    ScriptedDesktop desktop;
    ScriptedMessageBox messages;
};

} // namespace bryx::test
