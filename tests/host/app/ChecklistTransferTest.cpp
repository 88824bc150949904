#include "../exchange/TestPackage.h"
#include "ChecklistFileDialog.h"
#include "HostAppFixture.h"
#include "controls/FlexGrid.h"
#include "exchange/ArchiveFolder.h"
#include "support/QtPrinters.h"
#include "support/UserInput.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
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

// A click in the middle of a button, as the mouse delivers it.
void click(QWidget& button)
{
    mouseClick(button, button.rect().center());
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
    const QString saved = folder.filePath("skipped.tsv");
    QStringList seen;
    desktop.whileShown = [&](QDialog& shown) {
        seen << shown.objectName();
        if (auto* files = dynamic_cast<host::ChecklistFileDialog*>(&shown)) {
            EXPECT_EQ(files->windowTitle(), "Import Checklist");
            QDialogButtonBox* buttons = files->findChild<QDialogButtonBox*>();
            EXPECT_FALSE(buttons->button(QDialogButtonBox::Ok)->isEnabled()) << "nothing to import yet";
            typeKeys(*files->findChild<QLineEdit*>("txtPath"), zip);
            EXPECT_TRUE(buttons->button(QDialogButtonBox::Ok)->isEnabled());
            click(*buttons->button(QDialogButtonBox::Ok));
            return;
        }
        if (shown.objectName() == "dlgImportPreview") {
            EXPECT_EQ(names(), before) << "the first pass changes nothing";
            EXPECT_EQ(shown.findChild<QLabel*>("lblCounts")->text(),
                      "fir-checklist.zip (Darwin Core Archive): 4 names read; 2 to import, 1 already in the "
                      "database (left as they are), 1 row to skip.");
            auto* table = shown.findChild<QTableWidget*>("tblPreview");
            ASSERT_EQ(table->rowCount(), 2);
            QStringList first;
            for (int column = 0; column < table->columnCount(); ++column)
                first << table->item(0, column)->text();
            EXPECT_EQ(first.join(" | "),
                      "Abies pectinata | (Lam.) DC. | Botanical | Vascular Plant | Species | "
                      "Abies alba");
            EXPECT_TRUE(shown.findChild<QLabel*>("lblSkipped")
                            ->text()
                            .contains("taxon.txt, line 5: the rank \"notarank\" is unknown"));
            EXPECT_EQ(shown.findChild<QComboBox*>("cboNameType"), nullptr) << "every name says its type";
            auto* skip = shown.findChild<QCheckBox*>("chkSkipBadRows");
            EXPECT_FALSE(skip->isChecked());
            mouseClick(*skip, QPoint(4, skip->height() / 2));
            EXPECT_TRUE(skip->isChecked());
            click(*shown.findChild<QPushButton*>("cmdImport"));
            return;
        }
        if (shown.objectName() == "dlgImportSummary") {
            const QString told = shown.findChild<QPlainTextEdit*>("txtSummary")->toPlainText();
            EXPECT_TRUE(told.contains("fir-checklist.zip (Darwin Core Archive) is imported"))
                << told.toStdString();
            EXPECT_TRUE(told.contains("names imported: 2")) << told.toStdString();
            EXPECT_TRUE(told.contains("already in the database: 1")) << told.toStdString();
            EXPECT_TRUE(told.contains("taxon.txt, line 5: the rank \"notarank\" is unknown"))
                << told.toStdString();
            click(*shown.findChild<QPushButton*>("cmdSaveSkipped"));
            shown.accept();
            return;
        }
        if (auto* chooser = dynamic_cast<QFileDialog*>(&shown)) {
            chooser->selectFile(saved);
            static_cast<QDialog&>(*chooser).accept();
            return;
        }
        ADD_FAILURE() << "unexpected dialog " << shown.objectName().toStdString();
    };
    fileMenuItem(*window, "mnuFileImportChecklist").trigger();
    EXPECT_EQ(seen,
              QStringList({"dlgImportChecklist", "dlgImportPreview", "dlgImportSummary", "dlgSaveSkipped"}));
    EXPECT_EQ(names(), before + 2);
    QFile report(saved);
    ASSERT_TRUE(report.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.readAll(), "file\tline\treason\ntaxon.txt\t5\tthe rank \"notarank\" is unknown\n");

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

TEST_P(ChecklistTransferInHost, NamesOfNoTypeTakeTheOneChosenInThePreviewAndACancelThereChangesNothing)
{
    auto window = start(appManager);
    const QString sheet = folder.filePath("my-list.csv");
    writeFolder(folder.path(),
                {{"my-list.csv",
                  "scientificName,taxonRank\n"
                  "Abies borisii-regis Mattf.,species\n"
                  "Abies cephalonica Loudon,species\n"}});
    const qint64 before = names();
    bool cancel = true;
    desktop.whileShown = [&](QDialog& shown) {
        if (auto* files = dynamic_cast<host::ChecklistFileDialog*>(&shown)) {
            files->setPath(sheet);
            files->accept();
        } else if (shown.objectName() == "dlgImportPreview") {
            EXPECT_TRUE(shown.findChild<QLabel*>("lblCounts")->text().endsWith("2 of undecided name type."))
                << shown.findChild<QLabel*>("lblCounts")->text().toStdString();
            auto* type = shown.findChild<QComboBox*>("cboNameType");
            ASSERT_NE(type, nullptr);
            EXPECT_EQ(type->currentText(), "Skip them");
            if (cancel) {
                click(*shown.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
                return;
            }
            type->setFocus();
            keyClick(*type, Qt::Key_Down);
            EXPECT_EQ(type->currentText(), "Botanical");
            click(*shown.findChild<QPushButton*>("cmdImport"));
        } else {
            shown.accept();
        }
    };
    fileMenuItem(*window, "mnuFileImportChecklist").trigger();
    EXPECT_EQ(names(), before) << "cancelled in the preview";
    cancel = false;
    fileMenuItem(*window, "mnuFileImportChecklist").trigger();
    EXPECT_EQ(names(), before + 2);
    EXPECT_EQ(appManager->readOnly()
                  .scalar("SELECT c.name_type_cd FROM scientific_name sn JOIN d_name_category c ON "
                          "c.d_name_category_id = sn.d_name_category_id WHERE sn.scientific_name = 'Abies "
                          "borisii-regis'")
                  .toString(),
              "P");
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
