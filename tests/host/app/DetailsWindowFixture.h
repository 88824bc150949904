#pragma once

// Details windows of bryx-host on the reference database: how tests open a name, type into
// its fields as a user does, and read back what was stored.
#include "../../support/GridInput.h"
#include "HostAppFixture.h"
#include "WorkingListView.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "hosting/LateBinding.h"

#include <QApplication>

namespace bryx::test {

class DetailsWindowFixture : public HostApplication {
protected:
    int32_t idOf(const QString& name)
    {
        return database->open()
            ->scalar("select scientific_name_id from scientific_name where scientific_name = ?", {name})
            .toInt();
    }
    QVariant stored(int32_t id, const QString& column)
    {
        return database->open()->scalar(
            QString("select %1 from scientific_name where scientific_name_id = ?").arg(column), {id});
    }
    // The working list holding these names, in this order, and a details window on one of them
    // opened by a double-click.
    ComponentWindow* openFromList(MainWindow& window, const QStringList& listed, int row)
    {
        for (const QString& name : listed)
            EXPECT_TRUE(window.addToWorkingList(idOf(name))) << name.toStdString();
        doubleClickRow(window.workingList().grid(), row);
        return window.componentWindows().isEmpty() ? nullptr : window.componentWindows().last();
    }
    // "Picea abies", which cites three references, on its References page.
    ComponentWindow* openOnReferencesPage(MainWindow& window)
    {
        ComponentWindow* details = openFromList(window, {"Picea abies"}, 1);
        if (details)
            control<TabControl>(*details, "tabScientificName").SetTab(2);
        return details;
    }
    static UserControl& editor(ComponentWindow& window) { return *window.component(); }
    static int32_t shownId(ComponentWindow& window) { return CallByName(editor(window), "GetID").toInt(); }
    // Types into a rich-text box and leaves it, so that its validation runs as the user's would.
    static void typeInto(ComponentWindow& window, const char* box, const QString& text)
    {
        QApplication::setActiveWindow(window.window());
        auto& field = control<RichTextBox>(window, box);
        field.setFocus();
        field.SetPlainText(text);
        control<TextBox>(window, "txtCurrentRecord").setFocus();
        QApplication::processEvents();
    }
    static void save(ComponentWindow& window) { menuItem(window, "mnuFileSave").trigger(); }

    const QStringList five {"Abies alba", "Abies grandis", "Picea abies", "Pinus sylvestris",
                            "Larix decidua"};
};

} // namespace bryx::test
