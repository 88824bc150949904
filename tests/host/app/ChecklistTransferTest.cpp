#include "../exchange/TestPackage.h"
#include "ChecklistFileDialog.h"
#include "HostAppFixture.h"
#include "controls/FlexGrid.h"
#include "exchange/ArchiveFolder.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace bryx;
using namespace bryx::test;

namespace {

// Two new names, one of them a synonym of a name the sample holds already, and one row the
// import cannot take.
PackageFiles checklist()
{
    return {{"meta.xml", R"(<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core fieldsTerminatedBy="\t" ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files><id index="0"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/acceptedNameUsageID"/>
    <field term="http://rs.tdwg.org/dwc/terms/kingdom" default="Plantae"/>
  </core></archive>)"},
            {"taxon.txt",
             "id\tname\trank\taccepted\n"
             "1\tAbies alba Mill.\tspecies\t\n"
             "2\tAbies pectinata (Lam.) DC.\tspecies\t1\n"
             "3\tAbies cephalonica Loudon\tspecies\t\n"
             "4\tAbies borisii-regis Mattf.\tnotarank\t\n"}};
}

QAction& fileMenuItem(MainWindow& window, const char* name)
{
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->objectName() == QLatin1String(name))
            return *action;
    }
    throw std::runtime_error(std::string("no menu item ") + name);
}

class ChecklistTransferInHost : public HostApplication {
protected:
    qint64 names()
    {
        return appManager->readOnly().scalar("SELECT count(*) FROM scientific_name").toLongLong();
    }
    QTemporaryDir folder;
};

TEST_P(ChecklistTransferInHost, ImportAChecklistFromTheFileMenu)
{
    auto window = start(appManager);
    const QString zip = folder.filePath("fir-checklist.zip");
    writeZip(zip, checklist());
    const qint64 before = names();
    bool asked = false;
    desktop.whileShown = [&](QDialog& shown) {
        auto& dialog = dynamic_cast<host::ChecklistFileDialog&>(shown);
        EXPECT_EQ(dialog.windowTitle(), "Import Checklist");
        QDialogButtonBox* buttons = dialog.findChild<QDialogButtonBox*>();
        EXPECT_FALSE(buttons->button(QDialogButtonBox::Ok)->isEnabled()) << "nothing to import yet";
        dialog.findChild<QLineEdit*>("txtPath")->setText(zip);
        dialog.findChild<QCheckBox*>("chkSkipBadRows")->setChecked(true);
        EXPECT_TRUE(buttons->button(QDialogButtonBox::Ok)->isEnabled());
        asked = true;
        dialog.accept();
    };
    fileMenuItem(*window, "mnuFileImportChecklist").trigger();
    ASSERT_TRUE(asked);

    ASSERT_EQ(messages.shown().size(), 1u);
    const QString& told = messages.shown().back().prompt;
    EXPECT_TRUE(told.contains("fir-checklist.zip (Darwin Core Archive) is imported")) << told.toStdString();
    EXPECT_TRUE(told.contains("names imported: 2")) << told.toStdString();
    EXPECT_TRUE(told.contains("already in the database: 1")) << told.toStdString();
    EXPECT_TRUE(told.contains("taxon.txt, line 5: the rank \"notarank\" is unknown")) << told.toStdString();
    EXPECT_EQ(names(), before + 2);

    // The imported names are there to be found, the synonym linked to the stored Abies alba.
    ComponentWindow* search = window->openSearch();
    ASSERT_NE(search, nullptr);
    HostApplication::search(*search, "Abies pectinata");
    auto& results = control<FlexGrid>(*search, "fgSearchResults");
    ASSERT_EQ(results.Rows(), 2) << "the header and the one name";
    EXPECT_EQ(results.TextMatrix(1, 1), "Abies pectinata");
    EXPECT_EQ(appManager->readOnly()
                  .scalar("SELECT l.author_name FROM scientific_name sn JOIN scientific_name l ON "
                          "l.scientific_name_id = sn.nomenclaturally_est_sn_id WHERE sn.scientific_name = "
                          "'Abies pectinata'")
                  .toString(),
              "Mill.");
    EXPECT_EQ(appManager->readOnly()
                  .scalar("SELECT count(*) FROM audit_log WHERE user_name = ? AND action = 'I'",
                          {appManager->user().loginName})
                  .toInt(),
              2 + 1) // and the one insert row of the sample
        << "in the audit trail as created by the signed-in user";
}

TEST_P(ChecklistTransferInHost, CancelAndFailureLeaveTheNamesAsTheyWere)
{
    auto window = start(appManager);
    const QString zip = folder.filePath("fir-checklist.zip");
    writeZip(zip, checklist());
    const qint64 before = names();

    // Cancel as soon as the progress dialog takes its first events.
    QTimer::singleShot(0, window.get(), [&] {
        auto* progress = window->findChild<QProgressDialog*>("dlgChecklistProgress");
        ASSERT_NE(progress, nullptr);
        progress->cancel();
    });
    host::ImportOptions skipping;
    skipping.skipBadRows = true;
    EXPECT_FALSE(window->checklists().importFrom(zip, skipping).has_value());
    EXPECT_EQ(messages.shown().back().prompt, "The import was cancelled; nothing was changed.");
    EXPECT_EQ(names(), before);
    EXPECT_EQ(window->findChild<QProgressDialog*>("dlgChecklistProgress"), nullptr) << "the dialog is gone";

    EXPECT_FALSE(window->checklists().importFrom(zip, {}).has_value())
        << "the bad row, not skipped this time";
    EXPECT_EQ(messages.shown().back().style, MsgBoxStyle::Critical);
    EXPECT_EQ(messages.shown().back().prompt,
              "The checklist could not be imported; nothing was changed.\n\n"
              "taxon.txt, line 5: the rank \"notarank\" is unknown");
    EXPECT_EQ(names(), before);
}

TEST_P(ChecklistTransferInHost, ExportFromTheFileMenu)
{
    auto window = start(appManager);
    const QString target = folder.filePath("names-coldp.zip");
    desktop.whileShown = [&](QDialog& shown) {
        shown.findChild<QLineEdit*>("txtPath")->setText(target);
        shown.findChild<QRadioButton*>("optColdp")->setChecked(true);
        shown.accept();
    };
    fileMenuItem(*window, "mnuFileExportChecklist").trigger();
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_TRUE(messages.shown().back().prompt.startsWith(QString::number(names()) + " names, "))
        << messages.shown().back().prompt.toStdString();
    const host::ArchiveFolder written(target);
    EXPECT_FALSE(written.find("NameUsage.tsv").isEmpty());

    // The same name again: the user is asked, and No keeps the file as it was.
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("the user's own file");
    file.close();
    const size_t shown = messages.shown().size();
    messages.answer(MsgBoxResult::No);
    fileMenuItem(*window, "mnuFileExportChecklist").trigger();
    ASSERT_EQ(messages.shown().size(), shown + 1) << "one question, no export message";
    EXPECT_EQ(messages.shown().back().prompt,
              QDir::toNativeSeparators(target) + " exists already. Replace it?");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "the user's own file");
    file.close();
    messages.answer(MsgBoxResult::Yes);
    fileMenuItem(*window, "mnuFileExportChecklist").trigger();
    EXPECT_FALSE(host::ArchiveFolder(target).find("NameUsage.tsv").isEmpty());
}

INSTANTIATE_ON_EACH_ENGINE(ChecklistTransferInHost);

} // namespace
