// The reference links of a name in bryx-host's details windows, on both engines: added from the
// reference search, removed, reordered, flagged and stored only with the name, as a user does it.
#include "../../support/GridInput.h"
#include "../../support/QtPrinters.h"
#include "DetailsWindowFixture.h"
#include "ReferenceWindow.h"
#include "controls/FlexGrid.h"
#include "db/Database.h"
#include "hosting/LateBinding.h"
#include "services/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

class ReferenceLinks : public DetailsWindowFixture {
protected:
    int linkCount(int32_t nameId)
    {
        return database->open()
            ->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {nameId})
            .toInt();
    }
    bool linked(int32_t nameId, const QString& referenceCode)
    {
        return database->open()
                   ->scalar("select count(*) from scientific_name_reference l join reference r on "
                            "r.reference_id = l.reference_id where l.scientific_name_id = ? and "
                            "r.reference_code = ?",
                            {nameId, referenceCode})
                   .toInt()
            == 1;
    }
    // A reference the name does not cite.
    QString uncitedReference(int32_t nameId)
    {
        return database->open()
            ->scalar("select reference_code from reference where reference_id not in (select reference_id "
                     "from scientific_name_reference where scientific_name_id = ?) order by reference_code",
                     {nameId})
            .toString();
    }
    // Picks the reference with this code in the reference search that "..." opens.
    void addReference(ComponentWindow& details, const QString& code)
    {
        desktop.whileShown = [code](QDialog& dialog) {
            auto* search = dialog.findChild<UserControl*>("ModalSearch");
            ASSERT_NE(search, nullptr);
            search->findChild<CommandButton*>("cmdStartSearch")->click();
            auto* results = search->findChild<FlexGrid*>("fgReferences");
            for (int row = 1; row < results->Rows(); ++row)
                results->SetIsSelected(row, results->TextMatrix(row, 1) == code);
            search->findChild<CommandButton*>("cmdOk")->click();
        };
        control<CommandButton>(details, "cmdAddReferences").click();
    }
    // Selects the grid row of this reference alone and removes it with the remove button.
    static void removeReference(ComponentWindow& details, const QString& code)
    {
        auto& grid = control<FlexGrid>(details, "fgReferences");
        for (int row = 1; row < grid.Rows(); ++row)
            grid.SetIsSelected(row, grid.TextMatrix(row, 1) == code);
        control<CommandButton>(details, "cmdRemoveReferences").click();
    }
    static QStringList shownCodes(ComponentWindow& details)
    {
        auto& grid = control<FlexGrid>(details, "fgReferences");
        QStringList codes;
        for (int row = 1; row < grid.Rows(); ++row)
            codes << grid.TextMatrix(row, 1);
        return codes;
    }
};

TEST_P(ReferenceLinks, ReferenceLinksAreFlaggedOnceRemovedAndStoredWithTheName)
{
    auto window = start(appManager);
    ComponentWindow* details = openOnReferencesPage(*window);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Picea abies");
    auto& grid = control<FlexGrid>(*details, "fgReferences");
    ASSERT_EQ(grid.Rows(), 4) << "three links under the header";
    bool cancel = false;
    emit grid.BeforeEdit(1, 2, cancel);
    EXPECT_TRUE(cancel) << "the citation is not for editing";

    // The user checks "Primary Reference" on row 2: whichever row had it loses it.
    grid.SetTextMatrix(2, 3, "-1");
    emit grid.AfterEdit(2, 3);
    int checked = 0;
    for (int row = 1; row < grid.Rows(); ++row)
        checked += grid.TextMatrix(row, 3) == "-1" ? 1 : 0;
    EXPECT_EQ(checked, 1);
    const QString primary = grid.TextMatrix(2, 1);
    save(*details);
    auto db = database->open();
    EXPECT_EQ(db->scalar("select r.reference_code from scientific_name_reference l join reference r on "
                         "r.reference_id = l.reference_id where l.scientific_name_id = ? and "
                         "l.primary_reference_ind = 'Y'",
                         {id})
                  .toString(),
              primary);
    EXPECT_EQ(db->scalar("select count(*) from scientific_name_reference where scientific_name_id = ? and "
                         "primary_reference_ind = 'Y'",
                         {id})
                  .toInt(),
              1);

    // Two rows removed: nothing stored until the name is saved, which closing offers.
    const QString kept = grid.TextMatrix(2, 1);
    grid.SetIsSelected(1, true);
    grid.SetIsSelected(3, true);
    control<CommandButton>(*details, "cmdRemoveReferences").click();
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(1, 1), kept);
    EXPECT_TRUE(CallByName(editor(*details), "ReferencesChanged").toBool());
    EXPECT_EQ(db->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {id})
                  .toInt(),
              3);
    messages.answer(MsgBoxResult::Yes);
    EXPECT_TRUE(details->close());
    ASSERT_EQ(messages.shown().size(), 1u) << "asked to save the removal";
    EXPECT_EQ(db->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {id})
                  .toInt(),
              1);
    EXPECT_EQ(
        db->scalar("select display_order from scientific_name_reference where scientific_name_id = ?", {id})
            .toInt(),
        1);
}

TEST_P(ReferenceLinks, ADoubleClickedReferenceOpensInTheReferenceWindowWithTheNamesCitingIt)
{
    auto window = start(appManager);
    ComponentWindow* details = openOnReferencesPage(*window);
    ASSERT_NE(details, nullptr);
    auto& grid = control<FlexGrid>(*details, "fgReferences");
    ASSERT_GE(grid.Rows(), 2);
    const QString code = grid.TextMatrix(1, 1);
    doubleClickRow(grid, 1);
    auto* reference = window->findChild<ReferenceWindow*>();
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->findChild<QLineEdit*>("txtReferenceCode")->text(), code);
    auto* citing = reference->findChild<FlexGrid*>("fgCitingNames");
    bool cites = false;
    for (int row = 1; row < citing->Rows(); ++row)
        cites = cites || citing->TextMatrix(row, 1) == "Picea abies";
    EXPECT_TRUE(cites) << "the name that cites it is listed";
    const int32_t first = reference->shownId();
    const int at = reference->position();
    QPushButton* next = reference->findChild<QPushButton*>("cmdNext");
    if (next->isEnabled()) {
        next->click();
        EXPECT_EQ(reference->position(), at + 1);
        EXPECT_NE(reference->shownId(), first) << "it pages through the references";
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_P(ReferenceLinks, ReferencesFoundInTheReferenceSearchAreAddedOnceEach)
{
    auto window = start(appManager);
    ComponentWindow* details = openOnReferencesPage(*window);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Picea abies");
    auto& grid = control<FlexGrid>(*details, "fgReferences");
    const int before = grid.Rows() - 1;
    const QString linked = grid.TextMatrix(1, 1);
    desktop.whileShown = [&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Find Reference");
        auto* search = dialog.findChild<UserControl*>("ModalSearch");
        ASSERT_NE(search, nullptr);
        search->findChild<CommandButton*>("cmdStartSearch")->click(); // every reference
        auto* results = search->findChild<FlexGrid*>("fgReferences");
        ASSERT_GE(results->Rows(), 4);
        // One reference the name cites already, and two it does not.
        int picked = 0;
        for (int row = 1; row < results->Rows() && picked < 3; ++row) {
            const bool isLinked = results->TextMatrix(row, 1) == linked;
            const bool isOther = picked < 2 && !isLinked
                && database->open()
                        ->scalar(
                            "select count(*) from scientific_name_reference where scientific_name_id = ? "
                            "and reference_id = ?",
                            {id, results->TextMatrix(row, 0).toInt()})
                        .toInt()
                    == 0;
            if (isLinked || isOther) {
                results->SetIsSelected(row, true);
                picked += isOther ? 1 : 0;
            }
        }
        search->findChild<CommandButton*>("cmdOk")->click();
    };
    control<CommandButton>(*details, "cmdAddReferences").click();
    EXPECT_EQ(grid.Rows() - 1, before + 2) << "the one already cited is not added twice";
    grid.Sort(1, Qt::DescendingOrder); // as a click on the "Reference Code" header does
    const QString firstShown = grid.TextMatrix(1, 1);
    save(*details);
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().back().prompt.toStdString();
    auto db = database->open();
    EXPECT_EQ(db->scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {id})
                  .toInt(),
              before + 2);
    EXPECT_EQ(
        db->scalar("select max(display_order) from scientific_name_reference where scientific_name_id = ?",
                   {id})
            .toInt(),
        before + 2)
        << "numbered in grid order";
    EXPECT_EQ(
        db->scalar("select r.reference_code from scientific_name_reference l join reference r on "
                   "r.reference_id = l.reference_id where l.scientific_name_id = ? and l.display_order = 1",
                   {id})
            .toString(),
        firstShown)
        << "the order shown after sorting is the order stored";
}

TEST_P(ReferenceLinks, AReferenceAddedAndRemovedAgainLeavesNothingToStoreOrAskAbout)
{
    auto window = start(appManager);
    ComponentWindow* details = openOnReferencesPage(*window);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Picea abies");
    const QString added = uncitedReference(id);
    addReference(*details, added);
    ASSERT_TRUE(shownCodes(*details).contains(added));
    removeReference(*details, added);
    EXPECT_FALSE(shownCodes(*details).contains(added));
    save(*details);
    EXPECT_EQ(linkCount(id), 3);
    EXPECT_FALSE(linked(id, added));
    EXPECT_TRUE(details->close());
    EXPECT_TRUE(messages.shown().empty()) << "saved: nothing is pending any more";
}

TEST_P(ReferenceLinks, AReferenceRemovedAndAddedAgainBeforeTheSaveStaysLinked)
{
    auto window = start(appManager);
    ComponentWindow* details = openOnReferencesPage(*window);
    ASSERT_NE(details, nullptr);
    const int32_t id = idOf("Picea abies");
    const QString code = shownCodes(*details).value(0);
    removeReference(*details, code);
    ASSERT_FALSE(shownCodes(*details).contains(code));
    addReference(*details, code);
    EXPECT_TRUE(shownCodes(*details).contains(code)) << "offered again once unlinked";
    save(*details);
    EXPECT_TRUE(linked(id, code));
    EXPECT_EQ(linkCount(id), 3);
    EXPECT_TRUE(details->close());
    EXPECT_TRUE(messages.shown().empty());

    // And a removal saved is a removal stored, and nothing asks again after it.
    details = openOnReferencesPage(*window);
    ASSERT_NE(details, nullptr);
    removeReference(*details, code);
    save(*details);
    EXPECT_FALSE(linked(id, code));
    EXPECT_TRUE(details->close());
    EXPECT_TRUE(messages.shown().empty());
}

INSTANTIATE_ON_EACH_ENGINE(ReferenceLinks);

} // namespace
