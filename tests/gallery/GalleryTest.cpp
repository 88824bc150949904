// Renders the controls and the modal dialogs offscreen to PNG files in the build folder's
// gallery/ (run with: ctest -L gallery), so that a reviewer can look at them.
#include "../mocks/HostMocks.h"
#include "../support/RecordsetBuilder.h"
#include "../support/TestComponent.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/Form.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmModalSearch.h"
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
