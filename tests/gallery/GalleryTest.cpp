// Renders the controls and the modal dialogs offscreen to PNG files in the build folder's
// gallery/ (run with: ctest -L gallery), so that a reviewer can look at them.
#include "../host/TestDatabase.h"
#include "../mocks/HostMocks.h"
#include "../support/RecordsetBuilder.h"
#include "../support/ScriptedDesktop.h"
#include "../support/TestComponent.h"
#include "ScientificSearch.h"
#include "clients/ClientCollection.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/Form.h"
#include "controls/Pictures.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"
#include "hosting/LateBinding.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"
#include "util/Misc_Functions.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QMenuBar>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

QString saved(QWidget& widget, const QString& name)
{
    QDir().mkpath(QStringLiteral(BRYX_GALLERY_DIR));
    const QString path = QStringLiteral(BRYX_GALLERY_DIR "/%1.png").arg(name);
    widget.show();
    QApplication::processEvents();
    widget.grab().save(path);
    return path;
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
    EXPECT_FALSE(saved(form, "controls").isEmpty());
}

TEST(Gallery, RichTextDataComboToolbarAndEditableGrid)
{
    Form form;
    form.SetCaption("Scientific Name");
    auto* layout = new QVBoxLayout(&form);
    ImageList images(&form);
    for (const auto& [key, color] :
         {std::pair {"New", Qt::darkGreen}, {"Open", Qt::darkYellow}, {"Save", Qt::darkBlue}}) {
        QPixmap picture(16, 16);
        picture.fill(color);
        images.Add(key, QIcon(picture));
    }
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
    EXPECT_FALSE(saved(form, "rich-controls").isEmpty());
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
    EXPECT_FALSE(saved(grid, "grid").isEmpty());
}

TEST(Gallery, ModalDialogs)
{
    TestComponent::registerClass();
    auto host = std::make_shared<::testing::NiceMock<MockAppManager>>();
    frmModalSearch search;
    std::shared_ptr<Recordset> none;
    ASSERT_TRUE(search.InitDialog(TestComponent::ProgId, host, none, ""));
    EXPECT_FALSE(saved(search, "frmModalSearch").isEmpty());
    frmModalDetail detail;
    ASSERT_TRUE(detail.InitDialog(TestComponent::ProgId, host, ""));
    EXPECT_FALSE(saved(detail, "frmModalDetail").isEmpty());
}

TEST(Gallery, SearchPanelEmbeddedAndModalWithResults)
{
    TestDatabase database(host::Dialect::SQLite);
    host::registerClientComponents();
    auto appManager = std::make_shared<host::SqlAppManager>(database.url(), QStringLiteral("editor"));
    auto run = [](ScientificSearch& search) {
        search.findChild<TextBox*>("txtFindNameSciName")->setText("abies");
        search.findChild<CommandButton*>("cmdStartSearch")->click();
        auto* grid = search.findChild<FlexGrid*>("fgSearchResults");
        grid->SetIsSelected(2, true);
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
        EXPECT_FALSE(saved(window, "ScientificSearch-embedded").isEmpty());
    }
    ScriptedDesktop desktop;
    auto chosen = appManager->GetPrototypeRSForView("SNM");
    frmModalSearch dialog;
    ASSERT_TRUE(dialog.InitDialog(registration::SearchProgId, appManager, chosen, QString()));
    desktop.whileShown = [&](QDialog& shown) {
        run(*shown.findChild<ScientificSearch*>());
        EXPECT_FALSE(saved(shown, "ScientificSearch-modal").isEmpty());
    };
    dialog.ShowModal();
}
