// Renders the controls and the modal dialogs offscreen to PNG files in the build folder's
// gallery/ (run with: ctest -L gallery), so that a reviewer can look at them.
#include "../host/TestDatabase.h"
#include "../support/RecordsetBuilder.h"
#include "../support/ScriptedDesktop.h"
#include "../support/ScriptedMessageBox.h"
#include "DuplicateGroupsModel.h"
#include "DuplicateNamesWindow.h"
#include "NameHistoryDialog.h"
#include "PasswordDialog.h"
#include "ScientificSearch.h"
#include "clients/ClientCollection.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/Form.h"
#include "controls/Pictures.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "core/ScientificDetails.h"
#include "data/SqlScientificNameRecord.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"
#include "hosting/LateBinding.h"
#include "hosting/Twips.h"
#include "registration/Identities.h"
#include "related/frmAuditLog.h"
#include "related/frmCopy.h"
#include "services/PopupCellEditor.h"
#include "services/SqlAppManager.h"
#include "spelling/SpellingDialog.h"
#include "util/Misc_Functions.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

// Shows the widget, saves its picture for a reviewer and answers the picture, so that a test
// checks it shows what it should: the widget whole, and something drawn on it.
QImage photographed(QWidget& widget, const QString& name)
{
    QDir().mkpath(QStringLiteral(BRYX_GALLERY_DIR));
    const QString path = QStringLiteral(BRYX_GALLERY_DIR "/%1.png").arg(name);
    widget.show();
    QApplication::processEvents();
    const QImage picture = widget.grab().toImage();
    EXPECT_TRUE(picture.save(path)) << path.toStdString();
    return picture;
}

// The number of different colours on a coarse grid of sample points: a blank or single-colour
// picture has one or two.
int coloursSampled(const QImage& picture)
{
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3)
            colours.insert(picture.pixel(x, y));
    }
    return int(colours.size());
}

void expectPictureOf(const QImage& picture, const QWidget& widget)
{
    EXPECT_EQ(picture.size(), widget.size() * widget.devicePixelRatio()) << "the whole widget";
    EXPECT_GT(coloursSampled(picture), 8) << "something is drawn";
}

} // namespace

TEST(Gallery, ControlsOnAForm)
{
    Form form;
    form.SetCaption("Controls");
    auto* layout = new QGridLayout(&form);
    auto* types = new QGroupBox("Name Type", &form);
    auto* typesLayout = new QVBoxLayout(types);
    for (const char* caption : {"Botanical", "Zoological", "Ecological"})
        typesLayout->addWidget(new OptionButton(caption, typesLayout->count(), types));
    static_cast<OptionButton*>(typesLayout->itemAt(0)->widget())->setChecked(true);
    layout->addWidget(types, 0, 0, 3, 1);
    layout->addWidget(new Label("Name Category", &form), 0, 1);
    auto* category = new ComboBox(&form);
    for (const char* item : {"Vascular Plant", "Nonvascular Plant", "Fungus"})
        category->AddItem(item);
    category->SetListIndex(0);
    layout->addWidget(category, 0, 2);
    layout->addWidget(new Label("Text to search for", &form), 1, 1);
    auto* text = new TextBox(&form);
    text->setText("abies");
    layout->addWidget(text, 1, 2);
    layout->addWidget(new CheckBox("Placeholder Name", &form), 2, 1);
    layout->addWidget(new CommandButton("&Find Now", &form), 2, 2);
    const QImage picture = photographed(form, "controls");
    expectPictureOf(picture, form);
    EXPECT_EQ(category->Text(), QString("Vascular Plant"));
}

TEST(Gallery, RichTextDataComboToolbarAndEditableGrid)
{
    Form form;
    form.SetCaption("Scientific Name");
    auto* layout = new QVBoxLayout(&form);
    ImageList images(&form);
    for (const auto& [key, themeName] :
         {std::pair {"New", "document-new"}, {"Open", "document-open"}, {"Save", "document-save"}})
        images.Add(key, ThemeIcon(themeName));
    auto* toolbar = new Toolbar(&form);
    toolbar->SetImageList(&images);
    toolbar->AddButton("New", "Create New Search");
    toolbar->AddButton("Open", "Open Saved Search");
    toolbar->AddSeparator();
    toolbar->AddButton("Save", "Save Current Search");
    layout->addWidget(toolbar);
    auto* name = new RichTextBox(&form);
    name->SetMultiLine(false);
    name->SetText("<i>Quercus</i> ×<i>hispanica</i> Lam.");
    name->setFixedHeight(28);
    layout->addWidget(name);
    auto* category = new DataCombo(&form);
    category->SetList({{"11", "Vascular Plant"}, {"12", "Nonvascular Plant"}});
    category->SetBoundText("11");
    layout->addWidget(category);
    auto* references = new FlexGrid(&form);
    references->SetFormatString("|Reference Code|Full Citation|Primary Reference|Original Publication");
    references->SetRows(3);
    references->SetColCheckBoxes(3, true);
    references->SetColCheckBoxes(4, true);
    const QStringList codes {"LAM1785", "MIL1768"};
    for (int row = 1; row <= 2; ++row) {
        references->SetTextMatrix(row, 1, codes[row - 1]);
        references->SetTextMatrix(
            row, 2, row == 1 ? "Lamarck, J. (1785) Encycl. 1: 723." : "Miller, P. (1768) Gard. Dict. ed. 8.");
        references->SetTextMatrix(row, 3, row == 1 ? "-1" : "0");
        references->SetTextMatrix(row, 4, "0");
    }
    references->SetBlockBackColor(1, 1, 2, 2, QApplication::palette().color(QPalette::Button));
    references->SetColWidth(0, 15);
    references->AutoSize(1, 4);
    layout->addWidget(references);
    form.resize(640, 320);
    const QImage picture = photographed(form, "rich-controls");
    expectPictureOf(picture, form);
    EXPECT_EQ(references->Rows(), 3);
    EXPECT_EQ(category->Text(), QString("Vascular Plant")) << "the data combo shows the description";
}

TEST(Gallery, BoundGrid)
{
    FlexGrid grid;
    grid.SetDataSource(makeNameList({{1, "Abies alba"},
                                     {2, "Abies alba"},
                                     {5, "Picea abies"},
                                     {31, "Quercus × rosacea"},
                                     {47, "Pelargonium zonale"}}));
    Misc_Functions::FormatGridHeaders(grid);
    grid.SetIsSelected(2, true);
    grid.SetIsSelected(4, true);
    grid.resize(520, 180);
    grid.AutoSize(0, 2);
    const QImage picture = photographed(grid, "grid");
    expectPictureOf(picture, grid);
    EXPECT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.SelectedRows(), 2);
}

TEST(Gallery, SearchPanelEmbeddedAndModalWithResults)
{
    ScriptedMessageBox messages;
    TestDatabase database(host::Dialect::SQLite);
    const int abies =
        database.open()
            ->scalar("select count(*) from scientific_srch_vw where upper(scientific_name) like "
                     "'%ABIES%' and name_type='P'")
            .toInt();
    ASSERT_GT(abies, 4);
    host::registerClientComponents();
    auto appManager = std::make_shared<host::SqlAppManager>(database.url(), QStringLiteral("editor"));
    auto run = [](ScientificSearch& search) {
        search.findChild<TextBox*>("txtFindNameSciName")->setText("abies");
        search.findChild<CommandButton*>("cmdStartSearch")->click();
        auto* grid = search.findChild<FlexGrid*>("fgSearchResults");
        grid->SetRow(2);
        grid->SetIsSelected(4, true);
    };
    {
        QWidget window;
        window.setWindowTitle("Scientific Names");
        auto* search = new ScientificSearch(&window);
        auto workingList = appManager->GetPrototypeRSForView("SNM");
        auto views = appManager->ViewManager()->colViews();
        QVariantList arguments {QVariant::fromValue(workingList),
                                QVariant::fromValue(std::shared_ptr<AppManager>(appManager)),
                                1,
                                QVariant::fromValue(std::shared_ptr<WindowManager>()),
                                QVariant::fromValue(views),
                                QString()};
        CallByName(*search, "InitSearch", arguments);
        window.resize(search->size());
        run(*search);
        expectPictureOf(photographed(window, "ScientificSearch-embedded"), window);
        EXPECT_EQ(search->widthTwips(),
                  pixelsToTwips(twipsToPixels(ScientificSearch::DesignWidth, search), search))
            << "the panel at its design size";
        EXPECT_EQ(search->findChild<FlexGrid*>("fgSearchResults")->Rows(), abies + 1);
        EXPECT_EQ(search->findChild<Label*>("lblRecordsReturned")->text(), QString::number(abies));
    }
    ScriptedDesktop desktop;
    auto chosen = appManager->GetPrototypeRSForView("SNM");
    frmModalSearch dialog;
    ASSERT_TRUE(dialog.InitDialog(registration::SearchProgId, appManager, chosen, QString()));
    desktop.whileShown = [&](QDialog& shown) {
        auto* search = shown.findChild<ScientificSearch*>();
        run(*search);
        expectPictureOf(photographed(shown, "ScientificSearch-modal"), shown);
        EXPECT_FALSE(search->findChild<CommandButton*>("cmdOk")->isHidden());
        EXPECT_EQ(search->findChild<FlexGrid*>("fgSearchResults")->SelectedRows(), 2);
    };
    dialog.ShowModal();
    EXPECT_TRUE(messages.shown().empty()) << "no error box was raised";
}

TEST(Gallery, DetailsEditorInBothLayoutsAndTheModalDetailDialog)
{
    ScriptedMessageBox messages;
    TestDatabase database(host::Dialect::SQLite);
    host::registerClientComponents();
    auto appManager = std::make_shared<host::SqlAppManager>(database.url(), QStringLiteral("editor"));
    auto idOf = [&](const char* name) {
        return database.open()
            ->scalar("select scientific_name_id from scientific_name where scientific_name = ?",
                     {QString::fromUtf8(name)})
            .toInt();
    };
    auto workingList = makeNameList({{idOf("Abies alba"), "Abies alba"},
                                     {idOf("Fagion sylvaticae"), "Fagion sylvaticae"},
                                     {idOf("Picea abies"), "Picea abies"}});
    auto views = appManager->ViewManager()->colViews();
    const std::pair<const char*, const char*> shown[] = {
        {"Abies alba", "ScientificDetails-botanical"}, {"Fagion sylvaticae", "ScientificDetails-ecological"}};
    for (const auto& [name, picture] : shown) {
        QWidget window;
        auto* details = new ScientificDetails(&window);
        QVariantList arguments {QVariant::fromValue(workingList),
                                QVariant::fromValue(std::shared_ptr<AppManager>(appManager)),
                                1,
                                QVariant::fromValue(std::shared_ptr<WindowManager>()),
                                QVariant::fromValue(views),
                                QString()};
        CallByName(*details, "InitDetails", arguments);
        CallByName(*details, "LoadData", {idOf(name)});
        window.resize(details->size());
        expectPictureOf(photographed(window, QLatin1String(picture)), window);
        // What the picture depends on: the name, its layout and its place in the list.
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Scientific Name - ") + QLatin1String(name));
        EXPECT_EQ(details->findChild<TextBox*>("txtSummarySciName")->text(), QLatin1String(name));
        const bool ecological = details->NameType() == NameTypeCode::Ecological;
        EXPECT_EQ(ecological, QByteArray(picture).endsWith("ecological"));
        EXPECT_EQ(details->findChild<RichTextBox*>("ctrAuthor")->isHidden(), ecological);
        EXPECT_FALSE(details->findChild<DataCombo*>("cboCategory")->Text().isEmpty());
        EXPECT_EQ(details->findChild<Label*>("lblTotalRecords")->text(), "3");
    }

    ScriptedDesktop desktop;
    frmModalDetail dialog;
    ASSERT_TRUE(dialog.InitDialog(registration::DetailsProgId, appManager, QString()));
    dialog.LoadData(idOf("Picea abies"));
    desktop.whileShown = [&](QDialog& modal) {
        expectPictureOf(photographed(modal, "ScientificDetails-modal"), modal);
        auto* details = modal.findChild<ScientificDetails*>();
        ASSERT_NE(details, nullptr);
        EXPECT_TRUE(details->IsModal());
        EXPECT_FALSE(details->findChild<CommandButton*>("cmdNavNext")->isEnabled());
        EXPECT_EQ(details->findChild<TextBox*>("txtSummarySciName")->text(), "Picea abies");
    };
    dialog.ShowModal();
    dialog.Unload();
    EXPECT_TRUE(messages.shown().empty()) << "no error box was raised";
}

TEST(Gallery, CopyDialogReferenceSearchAndTheReferencesAndNomenclaturePages)
{
    ScriptedMessageBox messages;
    TestDatabase database(host::Dialect::SQLite);
    host::registerClientComponents();
    auto appManager = std::make_shared<host::SqlAppManager>(database.url(), QStringLiteral("editor"));
    {
        frmCopy copy;
        copy.SetOriginalName("Picea abies");
        copy.txtCopyName()->setText("Picea abies 'Nidiformis'");
        expectPictureOf(photographed(copy, "frmCopy"), copy);
        EXPECT_EQ(copy.lblOriginalScientificName()->text(), "Original Name = 'Picea abies'");
    }
    {
        ScriptedDesktop desktop;
        auto chosen = appManager->GetPrototypeRSForView("REF");
        frmModalSearch dialog;
        ASSERT_TRUE(dialog.InitDialog("BRYX_Reference.ReferenceSearch", appManager, chosen, QString()));
        desktop.whileShown = [&](QDialog& shown) {
            auto* search = shown.findChild<UserControl*>("ModalSearch");
            search->findChild<TextBox*>("txtFullCitation")->setText("flora");
            search->findChild<CommandButton*>("cmdStartSearch")->click();
            auto* results = search->findChild<FlexGrid*>("fgReferences");
            ASSERT_GE(results->Rows(), 2) << "references whose citation names a flora";
            results->SetIsSelected(1, true);
            expectPictureOf(photographed(shown, "ReferenceSearch-modal"), shown);
            EXPECT_EQ(shown.windowTitle(), "Find Reference");
        };
        dialog.ShowModal();
        dialog.Unload();
    }
    const int fagion =
        database.open()
            ->scalar(
                "select scientific_name_id from scientific_name where scientific_name = 'Fagion sylvaticae'")
            .toInt();
    const int carpinion =
        database.open()
            ->scalar(
                "select scientific_name_id from scientific_name where scientific_name = 'Carpinion betuli'")
            .toInt();
    database.open()->exec(
        "update scientific_name set nomenclaturally_est_sn_id = ? where scientific_name_id = ?",
        {carpinion, fagion});
    const int picea =
        database.open()
            ->scalar("select scientific_name_id from scientific_name where scientific_name = 'Picea abies'")
            .toInt();
    auto views = appManager->ViewManager()->colViews();
    const std::tuple<int, int, const char*> pages[] = {{picea, 2, "ScientificDetails-references"},
                                                       {fagion, 1, "ScientificDetails-nomenclature"}};
    for (const auto& [id, page, picture] : pages) {
        QWidget window;
        auto* details = new ScientificDetails(&window);
        auto list = makeNameList({{id, "shown"}});
        QVariantList arguments {QVariant::fromValue(list),
                                QVariant::fromValue(std::shared_ptr<AppManager>(appManager)),
                                1,
                                QVariant::fromValue(std::shared_ptr<WindowManager>()),
                                QVariant::fromValue(views),
                                QString()};
        CallByName(*details, "InitDetails", arguments);
        CallByName(*details, "LoadData", {id});
        details->ShowPage(page);
        window.resize(details->size());
        expectPictureOf(photographed(window, QLatin1String(picture)), window);
        EXPECT_EQ(details->findChild<TabControl*>("tabScientificName")->Tab(), page);
        if (page == 2)
            EXPECT_GE(details->findChild<FlexGrid*>("fgReferences")->Rows(), 3) << "the name's references";
        else
            EXPECT_EQ(details->findChild<TextBox*>("txtEstablishedName")->text(), "Carpinion betuli");
    }
    EXPECT_TRUE(messages.shown().empty()) << "no error box was raised";
}

TEST(Gallery, AuditLogWithCommentsPopupCellEditorAndSpellingDialog)
{
    ScriptedMessageBox messages;
    TestDatabase database(host::Dialect::SQLite);
    host::registerClientComponents();
    auto appManager = std::make_shared<host::SqlAppManager>(database.url(), QStringLiteral("editor"));
    const int32_t id = database.nameId("Abies alba", "Mill.");
    {
        host::SqlScientificNameRecord record;
        record.Connect(appManager->GetServerName(), appManager->GetServerType());
        record.Retrieve(id, 0, 0);
        record.SetAuthorName("Mill. (corrected)");
        record.SetField("Acronym", "ABAL");
        record.SetModifiedBy("editor");
        ASSERT_TRUE(record.Save()) << record.lastRefusal().toStdString();
    }
    auto db = database.open();
    const int columnId = db->scalar("select audit_log_column_id from audit_log where primary_key = ? and "
                                    "column_name = 'author_name'",
                                    {id})
                             .toInt();
    db->exec(
        "insert into audit_comment (audit_comment_id, audit_log_column_id, comment_text) values (?, ?, ?)",
        {columnId, columnId, "Author checked against the protologue"});
    {
        frmAuditLog dialog;
        dialog.SetCaption("Record Maintenance - Scientific Name - Abies alba");
        dialog.LoadAuditData("SCIENTIFIC_NAME", id, appManager, QString());
        const FlexGrid& grid = *dialog.fgAuditLog();
        ASSERT_GE(grid.Rows(), 3) << "the two changed fields";
        int commented = 0;
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, frmAuditLog::ColComments) == "Author checked against the protologue") {
                commented = row;
                EXPECT_EQ(grid.CellBackColor(row, frmAuditLog::ColComments), QColor(255, 255, 255));
            }
        }
        EXPECT_GT(commented, 0) << "the stored comment is shown";
        expectPictureOf(photographed(dialog, "frmAuditLog"), dialog);
        dialog.Unload();
    }
    {
        FlexGrid grid;
        grid.SetFormatString("Code|Full Citation");
        grid.SetRows(2);
        grid.SetTextMatrix(1, 0, "LINN1753");
        grid.SetTextMatrix(1, 1,
                           "Linnaeus, C. 1753. Species Plantarum. Laurentius Salvius, Stockholm. 1200 pp.");
        grid.SetEditable(true);
        grid.show();
        grid.setCurrentIndex(grid.gridModel().index(0, 1));
        host::PopupCellEditor editor(grid);
        EXPECT_EQ(editor.windowTitle(), "Text Editor - Full Citation");
        EXPECT_EQ(editor.text()->toPlainText(), grid.TextMatrix(1, 1));
        EXPECT_FALSE(editor.text()->isReadOnly());
        expectPictureOf(photographed(editor, "PopupCellEditor"), editor);
    }
    {
        ScriptedDesktop desktop;
        host::SpellingDialog dialog;
        desktop.whileShown = [&](QDialog& shown) {
            EXPECT_TRUE(dialog.txtContext()->toPlainText().contains("Abies albba was collected"));
            EXPECT_EQ(dialog.lstSuggestions()->count(), 2);
            EXPECT_EQ(dialog.txtChangeTo()->text(), "alba");
            expectPictureOf(photographed(shown, "SpellingDialog"), shown);
            shown.hide();
        };
        dialog.ask("albba", "The specimen of Abies albba was collected near the lake.", 22,
                   {"alba", "albida"});
    }
}

TEST(Gallery, ThePasswordDialogAsTheServerAsksAndWhenItRefused)
{
    const host::DatabaseUrl url =
        host::DatabaseUrl::parse("postgresql://curator@names.example.org:5432/names");
    for (const bool refused : {false, true}) {
        host::PasswordDialog dialog(url, refused);
        const QImage picture = photographed(dialog, refused ? "password-refused" : "password-asked");
        expectPictureOf(picture, dialog);
        const QString question = dialog.findChild<QLabel*>("lblPasswordQuestion")->text();
        EXPECT_TRUE(question.contains("curator") && question.contains("names.example.org"))
            << question.toStdString();
        EXPECT_EQ(question.contains("refused"), refused);
        EXPECT_EQ(dialog.windowTitle(), QString("Connect to names"));
    }
}

TEST(Gallery, DuplicateGroupsAndANamesHistory)
{
    ScriptedMessageBox messages;
    TestDatabase database(host::Dialect::SQLite);
    auto appManager = std::make_shared<host::SqlAppManager>(database.url(), QStringLiteral("editor"));
    {
        host::DuplicateNamesWindow window(appManager, {});
        window.find(); // the first rule: the same name and author, as a save compares them
        const host::DuplicateGroupsModel& groups = window.groups();
        ASSERT_EQ(groups.groupCount(), 1) << "the sample's Acer sp. and ACER SP.";
        EXPECT_EQ(groups.memberAt(0).name, "Acer sp.");
        EXPECT_EQ(groups.memberAt(1).name, "ACER SP.");
        window.view().selectRow(1);
        EXPECT_TRUE(window.findChild<QPushButton*>("cmdMerge")->isEnabled());
        const QImage picture = photographed(window, "DuplicateNamesWindow");
        expectPictureOf(picture, window);
        // Groups are told apart by a shade; the two names of one group share theirs.
        EXPECT_FALSE(groups.data(groups.index(1, 0), Qt::BackgroundRole).isValid());
    }
    {
        const int picea = database.nameId("Picea abies", "(L.) H.Karst.");
        host::NameHistoryDialog history(appManager, picea, {});
        const auto& entries = history.entries();
        ASSERT_EQ(history.table().rowCount(), int(entries.size()));
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(history.windowTitle(), "Name History - Picea abies");
        EXPECT_EQ(history.table().item(1, 2)->text(), "Author");
        EXPECT_EQ(history.table().item(1, 3)->text(), "(L.) Karst.");
        EXPECT_EQ(history.table().item(1, 4)->text(), "(L.) H.Karst.") << "the value stored now";
        EXPECT_FALSE(history.table().item(1, 5)->text().isEmpty()) << "the curator's comment";
        expectPictureOf(photographed(history, "NameHistoryDialog"), history);
    }
    EXPECT_TRUE(messages.shown().empty()) << "no error box was raised";
}
