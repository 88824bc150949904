#include "controls/Controls.h"

#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/UserInput.h"
#include "common/LookupLists.h"
#include "controls/Form.h"
#include "hosting/LateBinding.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

void type(QWidget& widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
}

} // namespace

TEST(TextBox, KeyPressFiltersTypedKeysButNotPastedText)
{
    TextBox id;
    // The ID box's rule: digits and Backspace only.
    QObject::connect(&id, &TextBox::KeyPress, [](int& key) {
        if (!((key >= 48 && key <= 57) || key == 8))
            key = 0;
    });
    int changes = 0;
    QObject::connect(&id, &TextBox::Change, [&] { ++changes; });
    type(id, Qt::Key_4, "4");
    type(id, Qt::Key_A, "a");
    type(id, Qt::Key_2, "2");
    EXPECT_EQ(id.text(), QString("42"));
    type(id, Qt::Key_Backspace, QString());
    EXPECT_EQ(id.text(), QString("4"));
    id.insert("7x"); // a paste goes in as it is
    EXPECT_EQ(id.text(), QString("47x"));
    EXPECT_EQ(changes, 4);
    SetPropertyByName(id, "Text", "");
    EXPECT_EQ(GetPropertyByName(id, "text"), QVariant(QString()));
}

TEST(ComboBox, FillingChoosesNothingAndTextChoosesTheExactItem)
{
    ComboBox categories;
    int clicks = 0;
    QObject::connect(&categories, &ComboBox::Click, [&] { ++clicks; });
    auto rows = makeRecordset({{"Name_Category_Desc", DataType::VarWChar, 80}},
                              {{"Vascular Plant"}, {"Nonvascular Plant"}, {"Fungus"}});
    FillComboFromRecordset(*rows, &categories, "Name_Category_Desc", "Name_Category_Desc", nullptr);
    EXPECT_EQ(categories.ListCount(), 3);
    EXPECT_EQ(categories.ListIndex(), -1);
    EXPECT_EQ(categories.Text(), QString());
    categories.SetText("fungus"); // exact and case-sensitive: no match
    EXPECT_EQ(categories.ListIndex(), -1);
    categories.SetText("Fungus");
    EXPECT_EQ(categories.ListIndex(), 2);
    categories.AddItem("Lichen");
    EXPECT_EQ(categories.Text(), QString("Fungus"));
    EXPECT_EQ(clicks, 0); // code never clicks
    keyClick(categories, Qt::Key_Up); // the user's choice of the item above
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(categories.Text(), QString("Nonvascular Plant"));
    categories.Clear();
    EXPECT_EQ(categories.ListIndex(), -1);
    EXPECT_EQ(categories.ListCount(), 0);
}

TEST(OptionButton, ExactlyOneOfAGroupIsOnAndItSaysWhich)
{
    QWidget frame;
    OptionButton botanical("Botanical", 0, &frame);
    OptionButton zoological("Zoological", 1, &frame);
    OptionButton ecological("Ecological", 2, &frame);
    QList<int> clicked;
    for (OptionButton* button : {&botanical, &zoological, &ecological})
        QObject::connect(button, &OptionButton::Click, [&](int index) { clicked << index; });
    botanical.setChecked(true);
    ecological.setChecked(true);
    EXPECT_FALSE(botanical.isChecked());
    EXPECT_TRUE(ecological.isChecked());
    EXPECT_EQ(clicked, QList<int>({0, 2}));
}

TEST(Form, ListsEveryNamedControlMenusIncludedForTheSecurityPass)
{
    Form form;
    auto* save = new MenuItem("mnuFileSave", "&Save", &form);
    auto* button = new CommandButton("O&K", &form);
    button->setObjectName("cmdOk");
    auto* check = new CheckBox("Placeholder Name", &form);
    check->setObjectName("chkPlaceholderName");
    new Label("unnamed", &form);
    QStringList names;
    for (QObject* control : form.Controls())
        names << control->objectName();
    names.sort();
    EXPECT_EQ(names, QStringList({"chkPlaceholderName", "cmdOk", "mnuFileSave"}));

    SetPropertyByName(*save, "Enabled", false);
    EXPECT_FALSE(save->isEnabled());
    EXPECT_EQ(GetPropertyByName(*save, "Caption"), QVariant("&Save"));
    check->SetValue(1);
    EXPECT_TRUE(check->isChecked());
    EXPECT_EQ(GetPropertyByName(*check, "Value"), QVariant(1));
}

TEST(ListBox, ChoosingAnItemClicksAndTheIndexFollows)
{
    ListBox searches;
    int clicks = 0;
    QObject::connect(&searches, &ListBox::Click, [&] { ++clicks; });
    searches.AddItem("Alpine mosses");
    searches.AddItem("O'Brien's oaks");
    EXPECT_EQ(searches.ListCount(), 2);
    EXPECT_EQ(searches.ListIndex(), -1);
    EXPECT_EQ(searches.Text(), QString());
    searches.SetListIndex(1);
    EXPECT_EQ(searches.Text(), QString("O'Brien's oaks"));
    EXPECT_EQ(clicks, 1);
    searches.SetListIndex(-1);
    EXPECT_EQ(searches.Text(), QString());
    searches.Clear();
    EXPECT_EQ(searches.ListCount(), 0);
}

TEST(TabControl, PagesCanBeMadeUnavailableAndClickTellsThePageLeft)
{
    TabControl tabs;
    for (const char* caption : {"&Identifiers", "&Nomenclature", "&References", "&Comments"})
        tabs.addTab(new QWidget, caption);
    QList<int> left;
    QObject::connect(&tabs, &TabControl::Click, [&](int previous) { left << previous; });
    tabs.SetTab(2);
    tabs.SetTab(3);
    EXPECT_EQ(left, QList<int>({0, 2}));
    tabs.SetTabEnabled(1, false);
    EXPECT_FALSE(tabs.TabEnabled(1));
    EXPECT_EQ(tabs.TabCaption(2), QString("&References"));
    EXPECT_EQ(GetPropertyByName(tabs, "Tab"), QVariant(3));
}

TEST(Form, EscapePressesTheShowingCancelButtonElseAsksToClose)
{
    Form form;
    auto* cancel = new CommandButton("Cancel", &form);
    cancel->SetCancel(true);
    int clicks = 0;
    QObject::connect(cancel, &QPushButton::clicked, [&] { ++clicks; });
    form.show();
    type(form, Qt::Key_Escape, QString());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.isVisible()) << "the button's handler decides what happens";

    cancel->setEnabled(false); // a cancel that is not available does not answer
    type(form, Qt::Key_Escape, QString());
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form.isVisible()) << "without one, Escape closes like the close box";
}

namespace {

// A form that answers its close requests as told and remembers why it was asked.
class GuardedForm : public Form {
public:
    bool allowClose = false;
    std::vector<UnloadMode> asked;
    int unloads = 0;

protected:
    bool queryUnload(UnloadMode mode) override
    {
        asked.push_back(mode);
        return allowClose;
    }
    void onUnload() override { ++unloads; }
};

} // namespace

TEST(Form, UnloadFromCodeAsksTheCloseRequestFirstAndARefusalKeepsTheFormLoaded)
{
    GuardedForm form;
    form.show();
    EXPECT_FALSE(form.Unload());
    EXPECT_EQ(form.asked, std::vector<UnloadMode> {UnloadMode::FormCode});
    EXPECT_FALSE(form.isUnloaded());
    EXPECT_EQ(form.unloads, 0);
    EXPECT_TRUE(form.isVisible());

    EXPECT_FALSE(form.close()) << "the close box asks the same request, as the control menu";
    EXPECT_EQ(form.asked.back(), UnloadMode::ControlMenu);

    form.allowClose = true;
    EXPECT_TRUE(form.Unload());
    EXPECT_TRUE(form.isUnloaded());
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(form.Unload()) << "a second unload asks nothing more";
    EXPECT_EQ(form.asked.size(), 2u + 1u);
}

TEST(ComboBox, AListIndexOutsideTheListIsAnInvalidPropertyValue)
{
    ComboBox comparison;
    for (const char* item : {"Contains", "Exact Match", "Begins with"})
        comparison.AddItem(item);
    comparison.SetListIndex(2);
    EXPECT_BRYX_ERROR(comparison.SetListIndex(3), ErrorNumber::InvalidPropertyValue);
    EXPECT_BRYX_ERROR(comparison.SetListIndex(-2), ErrorNumber::InvalidPropertyValue);
    EXPECT_EQ(comparison.ListIndex(), 2) << "a refused index changes nothing";
    comparison.SetListIndex(-1);
    EXPECT_EQ(comparison.Text(), QString());
}
