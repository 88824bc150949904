#include "SearchUi.h"

#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/Pictures.h"
#include "controls/Toolbar.h"
#include "controls/TwipsPlacer.h"
#include "hosting/UserControl.h"

#include <QGroupBox>
#include <QMenu>
#include <QTabBar>

namespace bryx {

void SearchUi::setupUi(UserControl& panel, int panelWidth)
{
    buildControls(panel);
    buildMenus(panel);
    buildToolbar(panel, panelWidth);
    setTabOrder();
}

void SearchUi::buildControls(UserControl& panel)
{
    const TwipsPlacer twips(&panel);
    auto named = [](auto* control, const char* name) {
        control->setObjectName(QLatin1String(name));
        return control;
    };

    tabFindName = named(new TabControl(&panel), "tabFindName");
    auto* page = new QWidget;
    tabFindName->addTab(page, QStringLiteral("Name"));
    twips.place(tabFindName, 60, 480, 7620, 2820);

    auto* frame = named(new QGroupBox(QStringLiteral("Name Type"), page), "Frame6");
    twips.place(frame, 120, 90, 1800, 1380);
    const char* captions[] = {"Botanical", "Zoological", "Ecological"};
    for (int index = 0; index < 3; ++index) {
        optNameType[index] = new OptionButton(QLatin1String(captions[index]), index, frame);
        optNameType[index]->setObjectName(QStringLiteral("optNameType_%1").arg(index));
        twips.place(optNameType[index], 150, 300 + index * 330, 1560, 300);
    }
    optNameType[0]->setChecked(true); // the design state, before any handler listens
    twips.place(named(new Label(QStringLiteral("Name Category"), page), "lblNameCategory"), 2100, 120, 2600,
                255);
    cboNameCategory = named(new ComboBox(page), "cboNameCategory");
    twips.place(cboNameCategory, 2100, 390, 2600, 330);
    twips.place(named(new Label(QStringLiteral("Classification Level"), page), "lblClassifLevel"), 4860, 120,
                2550, 255);
    cboClassificationLevel = named(new ComboBox(page), "cboClassificationLevel");
    twips.place(cboClassificationLevel, 4860, 390, 2550, 330);
    twips.place(named(new Label(QStringLiteral("Comparison"), page), "Label6"), 2100, 870, 2600, 255);
    cboFindNameComparison = named(new ComboBox(page), "cboFindNameComparison");
    for (const char* item : {"Contains", "Exact Match", "Begins with", "Ends with", "Wildcard"})
        cboFindNameComparison->AddItem(QLatin1String(item));
    twips.place(cboFindNameComparison, 2100, 1140, 2600, 330);
    twips.place(named(new Label(QStringLiteral("Text to search for"), page), "Label5"), 4860, 870, 2550, 255);
    txtFindNameSciName = named(new TextBox(page), "txtFindNameSciName");
    twips.place(txtFindNameSciName, 4860, 1140, 2550, 330);
    twips.place(named(new Label(QStringLiteral("Scientific Name ID"), page), "lblSciNameID"), 120, 1620, 1800,
                255);
    txtSciNameID = named(new TextBox(page), "txtSciNameID");
    twips.place(txtSciNameID, 120, 1890, 1800, 330);

    auto button = [&](const char* name, const char* caption, int x, int y, int width) {
        auto* created = named(new CommandButton(QLatin1String(caption), &panel), name);
        twips.place(created, x, y, width, 375);
        return created;
    };
    cmdStartSearch = button("cmdStartSearch", "F&ind Now", 7860, 600, 1635);
    cmdNew = button("cmdNew", "Ne&w...", 7860, 1080, 1635);
    cmdOk = button("cmdOk", "OK", 7860, 2340, 1635);
    cmdCancel = button("cmdCancel", "Cancel", 7860, 2820, 1635);
    cmdCancel->SetCancel(true);

    fgSearchResults = named(new FlexGrid(&panel), "fgSearchResults");
    twips.place(fgSearchResults, 60, 3390, 9495, 4530);
    fgSearchResults->setEditTriggers(QAbstractItemView::NoEditTriggers);

    twips.place(named(new Label(QStringLiteral("Records Returned:"), &panel), "lblRecordsReturnedCaption"),
                60, 8100, 1800, 255);
    lblRecordsReturned = named(new Label(QStringLiteral("0"), &panel), "lblRecordsReturned");
    twips.place(lblRecordsReturned, 1860, 8100, 700, 255);
    cmdSelectAll = button("cmdSelectAll", "Select &All", 2580, 8040, 1260);
    cmdDeselectAll = button("cmdDeselectAll", "&Select None", 3900, 8040, 1260);
    cmdAddToList = button("cmdAddToList", "Add to &List", 5220, 8040, 1380);
    cmdReplaceList = button("cmdReplaceList", "&Replace List", 6660, 8040, 1380);
    cmdDetails = button("cmdDetails", "&Details...", 8100, 8040, 1455);
}

void SearchUi::buildMenus(UserControl& panel)
{
    auto menu = [&panel, this](const char* name, const char* caption) {
        auto* created = new QMenu(QLatin1String(caption), &panel);
        created->setObjectName(QLatin1String(name));
        menus << created;
        return created;
    };
    auto item = [](QMenu* menu, const char* name, const char* caption) {
        auto* created = new MenuItem(QLatin1String(name), QLatin1String(caption), menu);
        menu->addAction(created);
        return created;
    };
    QMenu* file = menu("mnuFile", "&File");
    mnuFileNew = item(file, "mnuFileNew", "&New Search");
    mnuFileOpenSearch = item(file, "mnuFileOpenSearch", "&Open Search...");
    mnuFileSaveSearch = item(file, "mnuFileSaveSearch", "&Save Search");
    mnuFileSaveSearchAs = item(file, "mnuFileSaveSearchAs", "Save Search &As...");
    mnuFileDeleteSearch = item(file, "mnuFileDeleteSearch", "&Delete Search...");
    file->addSeparator()->setObjectName(QStringLiteral("fill2"));
    mnuFileClose = item(file, "mnuFileClose", "&Close");
    QMenu* edit = menu("mnuEdit", "&Edit");
    mnuEditCut = item(edit, "mnuEditCut", "Cu&t");
    mnuEditCopy = item(edit, "mnuEditCopy", "&Copy");
    mnuEditPaste = item(edit, "mnuEditPaste", "&Paste");
    QMenu* options = menu("mnuOptions", "&Options");
    mnuOptionsSaveDefault = item(options, "mnuOptionsSaveDefault", "Save Settings as &Default");
    mnuOptionsSaveDefault->setCheckable(true);
    mnuOptionsViewSQL = item(options, "mnuOptionsViewSQL", "&View Search SQL");
    QMenu* help = menu("Help", "&Help");
    mnuHelpBRYXHelp = item(help, "mnuHelpBRYXHelp", "Sorrel &Help    F1");
    mnuHelpAbout = item(help, "mnuHelpAbout", "&About Sorrel...");
    QMenu* newName = menu("mnuNew", "New");
    mnuNewPlant = item(newName, "mnuNewPlant", "&Botanical...");
    mnuNewAnimal = item(newName, "mnuNewAnimal", "&Zoological...");
    mnuNewCommunity = item(newName, "mnuNewCommunity", "&Ecological...");
}

void SearchUi::buildToolbar(UserControl& panel, int panelWidth)
{
    auto* images = new ImageList(&panel);
    images->setObjectName(QStringLiteral("ilFindSciName"));
    const std::pair<const char*, const char*> pictures[] = {
        {"New", "document-new"}, {"Open", "document-open"}, {"Save", "document-save"}, {"Cut", "edit-cut"},
        {"Copy", "edit-copy"},   {"Paste", "edit-paste"},   {"Help", "help-browser"}};
    for (const auto& [key, themeName] : pictures)
        images->Add(QLatin1String(key), ThemeIcon(QLatin1String(themeName)));

    tbFindSciName = new Toolbar(&panel);
    tbFindSciName->setObjectName(QStringLiteral("tbFindSciName"));
    tbFindSciName->SetImageList(images);
    tbFindSciName->AddButton(QStringLiteral("New"), QStringLiteral("Create New Search"));
    tbFindSciName->AddButton(QStringLiteral("Open"), QStringLiteral("Open Saved Search"));
    tbFindSciName->AddButton(QStringLiteral("Save"), QStringLiteral("Save Current Search"));
    tbFindSciName->AddSeparator();
    tbFindSciName->AddButton(QStringLiteral("Cut"), QStringLiteral("Cut"));
    tbFindSciName->AddButton(QStringLiteral("Copy"), QStringLiteral("Copy"));
    tbFindSciName->AddButton(QStringLiteral("Paste"), QStringLiteral("Paste"));
    tbFindSciName->AddSeparator();
    tbFindSciName->AddButton(QStringLiteral("Help"), QStringLiteral("Help"));
    TwipsPlacer(&panel).place(tbFindSciName, 0, 0, panelWidth, 420);
}

void SearchUi::setTabOrder()
{
    // One tab only: its bar needs no stop of its own.
    tabFindName->tabBar()->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*> order = {optNameType[0],
                                   optNameType[1],
                                   optNameType[2],
                                   cboNameCategory,
                                   cboClassificationLevel,
                                   cboFindNameComparison,
                                   txtFindNameSciName,
                                   txtSciNameID,
                                   cmdStartSearch,
                                   fgSearchResults,
                                   cmdSelectAll,
                                   cmdDeselectAll,
                                   cmdAddToList,
                                   cmdReplaceList,
                                   cmdDetails,
                                   cmdNew,
                                   cmdOk,
                                   cmdCancel};
    for (qsizetype position = 1; position < order.size(); ++position)
        QWidget::setTabOrder(order[position - 1], order[position]);
}

} // namespace bryx
