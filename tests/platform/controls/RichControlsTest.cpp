#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/ScriptedDesktop.h"
#include "../../support/ScriptedMessageBox.h"
#include "../../support/UserInput.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/Form.h"
#include "controls/Pictures.h"
#include "controls/RichTextBox.h"
#include "controls/RichTextMarkup.h"
#include "controls/Toolbar.h"
#include "hosting/LateBinding.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

QString roundTrip(const QString& markup)
{
    QTextDocument document;
    RichTextMarkup::toDocument(markup, document);
    return RichTextMarkup::fromDocument(document);
}

void selectWord(RichTextBox& box, int from, int length)
{
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(from);
    cursor.setPosition(from + length, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
}

} // namespace

TEST(RichTextMarkup, StoredTextRoundTripsAndPlainTextStaysAsItIs)
{
    // What records hold: a new name's italic blank, a binomial, nested styles, formulae.
    for (const QString stored :
         {"<i> </i>", "<i>Abies alba</i> Mill.", "<b><i>Quercus</i></b> ×<i>hispanica</i>",
          "H<sub>2</sub>O at 10<sup>3</sup> m", "Line one\nLine two"}) {
        EXPECT_EQ(roundTrip(stored), stored);
    }
    // Plain text that merely looks like markup loses nothing.
    for (const QString plain : {"L. & Sm.", "a < b > c", "<unknown> tag", "d'Orbigny \"1839\"", "x &y"})
        EXPECT_EQ(roundTrip(plain), plain);
    // Text that would read as markup is escaped, and only that.
    QTextDocument typed;
    QTextCursor(&typed).insertText("use <i> or &amp; & more");
    const QString stored = RichTextMarkup::fromDocument(typed);
    EXPECT_EQ(stored, QString("use &lt;i> or &amp;amp; & more"));
    EXPECT_EQ(RichTextMarkup::plainText(stored), QString("use <i> or &amp; & more"));
    // Tags are read without regard to case; <br> is a line break; an unclosed tag runs to the end.
    EXPECT_EQ(roundTrip("<I>Pinus</I><BR>x"), QString("<i>Pinus</i>\nx"));
    EXPECT_EQ(roundTrip("<i>Abies"), QString("<i>Abies</i>"));
    EXPECT_EQ(RichTextMarkup::plainText("<i>Abies</i> <b>alba</b>"), QString("Abies alba"));
}

TEST(RichTextBox, KeepsTheSubsetFormatsBySelectionAndShortcutAndHonoursTextMode)
{
    RichTextBox name;
    int changes = 0;
    QObject::connect(&name, &RichTextBox::Change, [&] { ++changes; });
    SetPropertyByName(name, "Text", "<i> </i>");
    EXPECT_EQ(changes, 1) << "one assignment, one change";
    EXPECT_EQ(name.PlainText(), QString(" "));
    EXPECT_EQ(GetPropertyByName(name, "Text"), QVariant("<i> </i>"));

    name.SetPlainText("Abies alba");
    selectWord(name, 0, 5);
    keyClick(name, Qt::Key_I, Qt::ControlModifier);
    selectWord(name, 6, 4);
    keyClick(name, Qt::Key_B, Qt::ControlModifier);
    keyClick(name, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(name.Text(), QString("<i>Abies</i> <b><u>alba</u></b>"));
    keyClick(name, Qt::Key_B, Qt::ControlModifier); // toggles off again
    EXPECT_EQ(name.Text(), QString("<i>Abies</i> <u>alba</u>"));

    name.SetTextMode(true);
    EXPECT_EQ(name.Text(), QString("Abies alba"));
    selectWord(name, 0, 5);
    keyClick(name, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(name.Text(), QString("Abies alba")) << "text mode keeps plain text";
    EXPECT_EQ(name.TypeName(), QString("RichTextControl"));
}

TEST(RichTextBox, ClipboardCommandsCarryPlainTextAndOneLineBoxesStayOneLine)
{
    RichTextBox author;
    author.SetMultiLine(false);
    author.SetText("<i>Mill.</i> ex L.");
    selectWord(author, 0, 5);
    author.DoCopy();
    author.moveCursor(QTextCursor::End);
    author.DoPaste();
    EXPECT_EQ(author.PlainText(), QString("Mill. ex L.Mill."));
    selectWord(author, 6, 3);
    author.DoCut();
    EXPECT_EQ(author.PlainText(), QString("Mill. L.Mill."));
    QApplication::clipboard()->setText("two\nlines");
    author.moveCursor(QTextCursor::End);
    author.DoPaste();
    EXPECT_EQ(author.PlainText(), QString("Mill. L.Mill.two lines"));
}

TEST(RichTextBox, TheLargerEditorWritesBackOnlyOnOkAndSpellCheckingSaysWhenNoneIsInstalled)
{
    ScriptedDesktop desktop;
    ScriptedMessageBox messages;
    RichTextBox comments;
    comments.SetText("<i>Abies</i> note");
    QString caption;
    auto edit = [&](const QString& text, QDialogButtonBox::StandardButton button) {
        desktop.whileShown = [&, text, button](QDialog& editor) {
            caption = editor.windowTitle();
            auto* box = editor.findChild<RichTextBox*>("ctrEditor");
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->Text(), comments.Text());
            box->SetText(text);
            editor.findChild<QDialogButtonBox*>()->button(button)->click();
        };
    };
    edit("<i>Abies</i> longer note", QDialogButtonBox::Cancel);
    comments.LaunchEditor("ScientificNameCom");
    EXPECT_EQ(comments.Text(), QString("<i>Abies</i> note"));
    EXPECT_TRUE(caption.contains("ScientificNameCom"));
    edit("<i>Abies</i> longer note", QDialogButtonBox::Ok);
    comments.LaunchEditor("ScientificNameCom");
    EXPECT_EQ(comments.Text(), QString("<i>Abies</i> longer note"));

    comments.CheckSpelling();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown().front().prompt.contains("spelling checker"));
    RichTextBox* checked = nullptr;
    QObject::connect(&comments, &RichTextBox::SpellCheckRequested, [&](RichTextBox* box) { checked = box; });
    comments.CheckSpelling();
    EXPECT_EQ(checked, &comments);
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST(DataCombo, ShowsDescriptionsBindsKeysAndResolvesAKeyAssignedBeforeItsList)
{
    DataCombo category;
    QStringList changes;
    QObject::connect(&category, &DataCombo::Change, [&] { changes << category.BoundText(); });

    // The binding delivers the key before the code list is there: shown as it is.
    SetPropertyByName(category, "boundtext", "12");
    EXPECT_EQ(category.Text(), QString("12"));
    category.SetList({{"11", "Vascular Plant"}, {"12", "Nonvascular Plant"}, {"13", "Fungus"}});
    EXPECT_EQ(category.BoundText(), QString("12"));
    category.SetText(category.Text()); // assigning the shown text to itself resolves it
    EXPECT_EQ(category.Text(), QString("Nonvascular Plant"));
    EXPECT_EQ(category.BoundText(), QString("12"));

    category.SetText("Fungus");
    EXPECT_EQ(category.BoundText(), QString("13"));
    EXPECT_EQ(changes, (QStringList {"12", "13"}));

    // A refill keeps the bound key when the new list has it, and shows it as it is when not.
    category.SetList({{"13", "Fungus"}, {"14", "Lichen"}});
    EXPECT_EQ(category.Text(), QString("Fungus"));
    category.SetList({{"21", "Mammal"}});
    EXPECT_EQ(category.BoundText(), QString("13"));
    EXPECT_EQ(category.ListCount(), 1);
    category.SetBoundText({});
    EXPECT_EQ(category.Text(), QString());
    EXPECT_EQ(category.currentIndex(), -1);
}

TEST(Toolbar, ButtonsByKeyClickByKeyCarryPicturesAndMenusAndJoinTheControlsCollection)
{
    Form form;
    ImageList images(&form);
    images.setObjectName("ilFindSciName");
    QPixmap red(16, 16);
    red.fill(Qt::red);
    images.Add("New", QIcon(red));
    EXPECT_BRYX_ERROR(images.Add("new", QIcon(red)), ErrorNumber::DuplicateKey);
    EXPECT_BRYX_ERROR(images.ListImages("Nope"), ErrorNumber::ElementNotFound);

    auto* toolbar = new Toolbar(&form);
    toolbar->setObjectName("tbFindSciName");
    toolbar->SetImageList(&images);
    toolbar->AddButton("New", "Create New Search");
    toolbar->AddButton("Open", "Open Saved Search");
    QStringList clicks;
    QObject::connect(toolbar, &Toolbar::ButtonClick, [&](const QString& key) { clicks << key; });
    toolbar->Buttons("open")->trigger();
    toolbar->Buttons(1)->trigger();
    EXPECT_EQ(clicks, (QStringList {"Open", "New"}));
    EXPECT_FALSE(toolbar->Buttons("New")->icon().isNull());
    EXPECT_TRUE(toolbar->Buttons("Open")->icon().isNull());
    EXPECT_EQ(GetPropertyByName(*toolbar->Buttons("Open"), "ToolTipText"), QVariant("Open Saved Search"));
    EXPECT_BRYX_ERROR(toolbar->Buttons("Save"), ErrorNumber::ElementNotFound);
    EXPECT_BRYX_ERROR(toolbar->Buttons(3), ErrorNumber::ElementNotFound);

    toolbar->Buttons("Open")->setEnabled(false);
    toolbar->Buttons("Open")->trigger();
    EXPECT_EQ(clicks.size(), 2) << "a disabled button does not click";

    QMenu fileNew;
    fileNew.addAction("&Botanical...");
    toolbar->SetButtonMenu("New", &fileNew);
    auto* newButton = qobject_cast<QToolButton*>(toolbar->widgetForAction(toolbar->Buttons("New")));
    ASSERT_NE(newButton, nullptr);
    EXPECT_EQ(newButton->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(toolbar->Buttons("New")->menu<QMenu*>(), &fileNew);

    QStringList names;
    for (QObject* control : form.Controls())
        names << control->objectName();
    EXPECT_TRUE(names.contains("tbFindSciName"));
    EXPECT_TRUE(names.contains("New"));
    EXPECT_TRUE(names.contains("Open"));
    EXPECT_TRUE(names.contains("ilFindSciName"));
}

TEST(Controls, EveryControlAnswersTheCommonPropertiesByNameSoTheSecurityPassReachesIt)
{
    Form form;
    std::vector<QObject*> controls {new TextBox(&form),
                                    new ComboBox(&form),
                                    new Label(&form),
                                    new CheckBox(&form),
                                    new OptionButton("x", 0, &form),
                                    new CommandButton(&form),
                                    new ListBox(&form),
                                    new TabControl(&form),
                                    new RichTextBox(&form),
                                    new DataCombo(&form),
                                    new PictureBox(&form),
                                    new Toolbar(&form),
                                    new MenuItem("mnuX", "&X", &form)};
    controls.push_back(static_cast<Toolbar*>(controls[11])->AddButton("Key", "Tip"));
    for (QObject* control : controls) {
        const std::string type = control->metaObject()->className();
        EXPECT_FALSE(GetPropertyByName(*control, "TypeName").toString().isEmpty()) << type;
        SetPropertyByName(*control, "Tag", "ScientificNameCom");
        EXPECT_EQ(GetPropertyByName(*control, "Tag"), QVariant("ScientificNameCom")) << type;
        SetPropertyByName(*control, "ToolTipText", "tip");
        EXPECT_EQ(GetPropertyByName(*control, "ToolTipText"), QVariant("tip")) << type;
        SetPropertyByName(*control, "Enabled", false);
        EXPECT_EQ(GetPropertyByName(*control, "Enabled"), QVariant(false)) << type;
    }
}
