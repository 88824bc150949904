// The details window's position box in bryx-host, on both engines, with the real message boxes:
// they come up modal and take the focus from the box, as they do for a user.
#include "../../support/AnsweredMessageBoxes.h"
#include "../../support/QtPrinters.h"
#include "../../support/UserInput.h"
#include "DetailsWindowFixture.h"

#include <QApplication>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

class PositionBox : public DetailsWindowFixture {
protected:
    // Types over the box and presses Enter in it.
    static void enterPosition(TextBox& box, const QString& text)
    {
        box.setFocus();
        QApplication::processEvents();
        typeOver(box, text);
        keyClick(box, Qt::Key_Return);
        QApplication::processEvents();
    }
};

TEST_P(PositionBox, AMessageTakingTheFocusIsNoLeavingOfTheBox)
{
    AnsweredMessageBoxes boxes;
    auto window = start(appManager);
    ComponentWindow* details = openFromList(*window, five, 2);
    ASSERT_NE(details, nullptr);
    QApplication::setActiveWindow(window.get());
    auto& box = control<TextBox>(*details, "txtCurrentRecord");

    enterPosition(box, "9");
    ASSERT_EQ(boxes.shown().size(), 1u) << "one Enter, one message";
    EXPECT_TRUE(boxes.shown().front().contains("no record at that position"));
    EXPECT_EQ(boxes.focusedCount(), 1) << "the box had the focus while it was up";
    EXPECT_EQ(box.text(), "2");
    EXPECT_EQ(shownId(*details), idOf("Abies grandis"));

    // With an unsaved edit the move asks once, and the answer is the only one acted on.
    typeInto(*details, "ctrAuthor", "Lindl. (not kept)");
    boxes.answer(QMessageBox::No);
    enterPosition(box, "4");
    ASSERT_EQ(boxes.shown().size(), 2u) << boxes.shown().join(" | ").toStdString();
    EXPECT_TRUE(boxes.shown().back().contains("save the changes"));
    EXPECT_EQ(shownId(*details), idOf("Pinus sylvestris"));
    EXPECT_EQ(box.text(), "4");
    EXPECT_EQ(stored(idOf("Abies grandis"), "author_name").toString(), "(Douglas ex D.Don) Lindl.");

    // Leaving the box for another control of the editor still moves to what it holds.
    box.setFocus();
    QApplication::processEvents();
    typeOver(box, "1");
    control<RichTextBox>(*details, "ctrAuthor").setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(shownId(*details), idOf("Abies alba"));
    EXPECT_EQ(boxes.shown().size(), 2u);
}

INSTANTIATE_ON_EACH_ENGINE(PositionBox);

} // namespace
