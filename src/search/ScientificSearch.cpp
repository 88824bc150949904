#include "ScientificSearch.h"

#include "SavedSearches.h"
#include "SearchStateXml.h"
#include "SearchStatement.h"
#include "collection/Collection.h"
#include "common/BusyPointer.h"
#include "common/ComponentCommands.h"
#include "common/LookupLists.h"
#include "common/MessageArguments.h"
#include "common/ViewIndex.h"
#include "contracts/AppManager.h"
#include "contracts/HostTypes.h"
#include "contracts/HostWindowOf.h"
#include "contracts/WindowManager.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/Pictures.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "controls/TwipsPlacer.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmSelectScientificNameType.h"
#include "error/Error.h"
#include "frmSQL.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/MessageBox.h"
#include "services/Screen.h"
#include "util/Misc_Functions.h"
#include "util/RS_Functions.h"

#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTabBar>

namespace bryx {

namespace {

// Name type codes in the order of the name type buttons.
constexpr const char* NameTypeCodes[] = {"P", "A", "C"};

} // namespace

ScientificSearch::ScientificSearch(QWidget* parent)
    : UserControl(parent)
    , m_saved(std::make_unique<SavedSearches>(*this))
{
    registerHostTypes();
    setObjectName(QLatin1String(ComponentName));
    buildControls();
    buildMenus();
    buildToolbar();
    connectHandlers();
    setTabOrder();
    setSizeTwips(DesignWidth, DesignHeight);
}

ScientificSearch::~ScientificSearch()
{
    // The panel's end: it lets go of everything the host lent it; rsView stays the host's.
    m_rsResults.reset();
    m_appManager.reset();
    m_winMan.reset();
    m_colViews.reset();
    m_colSelectedItems.reset();
}

void ScientificSearch::registerClass()
{
    ComponentRegistry::instance().add(
        {QLatin1String(registration::SearchProgId), QLatin1String(registration::SearchClassId),
         QLatin1String(registration::SearchInterfaceId), QLatin1String(registration::SearchEventsId),
         [](QWidget* parent) -> UserControl* { return new ScientificSearch(parent); }});
}

// --- Layout ---------------------------------------------------------------------------------

void ScientificSearch::buildControls()
{
    const TwipsPlacer twips(this);
    auto named = [](auto* control, const char* name) {
        control->setObjectName(QLatin1String(name));
        return control;
    };

    m_tabFindName = named(new TabControl(this), "tabFindName");
    auto* page = new QWidget;
    m_tabFindName->addTab(page, QStringLiteral("Name"));
    twips.place(m_tabFindName, 60, 480, 7620, 2820);

    auto* frame = named(new QGroupBox(QStringLiteral("Name Type"), page), "Frame6");
    twips.place(frame, 120, 90, 1800, 1380);
    const char* captions[] = {"Botanical", "Zoological", "Ecological"};
    for (int index = 0; index < 3; ++index) {
        m_optNameType[index] = new OptionButton(QLatin1String(captions[index]), index, frame);
        m_optNameType[index]->setObjectName(QStringLiteral("optNameType_%1").arg(index));
        twips.place(m_optNameType[index], 150, 300 + index * 330, 1560, 300);
    }
    m_optNameType[0]->setChecked(true); // the design state, before any handler listens
    twips.place(named(new Label(QStringLiteral("Name Category"), page), "lblNameCategory"), 2100, 120, 2600,
                255);
    m_cboNameCategory = named(new ComboBox(page), "cboNameCategory");
    twips.place(m_cboNameCategory, 2100, 390, 2600, 330);
    twips.place(named(new Label(QStringLiteral("Classification Level"), page), "lblClassifLevel"), 4860, 120,
                2550, 255);
    m_cboClassificationLevel = named(new ComboBox(page), "cboClassificationLevel");
    twips.place(m_cboClassificationLevel, 4860, 390, 2550, 330);
    twips.place(named(new Label(QStringLiteral("Comparison"), page), "Label6"), 2100, 870, 2600, 255);
    m_cboFindNameComparison = named(new ComboBox(page), "cboFindNameComparison");
    for (const char* item : {"Contains", "Exact Match", "Begins with", "Ends with", "Wildcard"})
        m_cboFindNameComparison->AddItem(QLatin1String(item));
    twips.place(m_cboFindNameComparison, 2100, 1140, 2600, 330);
    twips.place(named(new Label(QStringLiteral("Text to search for"), page), "Label5"), 4860, 870, 2550, 255);
    m_txtFindNameSciName = named(new TextBox(page), "txtFindNameSciName");
    twips.place(m_txtFindNameSciName, 4860, 1140, 2550, 330);
    twips.place(named(new Label(QStringLiteral("Scientific Name ID"), page), "lblSciNameID"), 120, 1620, 1800,
                255);
    m_txtSciNameID = named(new TextBox(page), "txtSciNameID");
    twips.place(m_txtSciNameID, 120, 1890, 1800, 330);

    auto button = [&](const char* name, const char* caption, int x, int y, int width) {
        auto* created = named(new CommandButton(QLatin1String(caption), this), name);
        twips.place(created, x, y, width, 375);
        return created;
    };
    m_cmdStartSearch = button("cmdStartSearch", "F&ind Now", 7860, 600, 1635);
    m_cmdNew = button("cmdNew", "Ne&w...", 7860, 1080, 1635);
    m_cmdOk = button("cmdOk", "OK", 7860, 2340, 1635);
    m_cmdCancel = button("cmdCancel", "Cancel", 7860, 2820, 1635);
    m_cmdCancel->SetCancel(true);

    m_fgSearchResults = named(new FlexGrid(this), "fgSearchResults");
    twips.place(m_fgSearchResults, 60, 3390, 9495, 4530);
    m_fgSearchResults->setEditTriggers(QAbstractItemView::NoEditTriggers);

    twips.place(named(new Label(QStringLiteral("Records Returned:"), this), "lblRecordsReturnedCaption"), 60,
                8100, 1800, 255);
    m_lblRecordsReturned = named(new Label(QStringLiteral("0"), this), "lblRecordsReturned");
    twips.place(m_lblRecordsReturned, 1860, 8100, 700, 255);
    m_cmdSelectAll = button("cmdSelectAll", "Select &All", 2580, 8040, 1260);
    m_cmdDeselectAll = button("cmdDeselectAll", "&Select None", 3900, 8040, 1260);
    m_cmdAddToList = button("cmdAddToList", "Add to &List", 5220, 8040, 1380);
    m_cmdReplaceList = button("cmdReplaceList", "&Replace List", 6660, 8040, 1380);
    m_cmdDetails = button("cmdDetails", "&Details...", 8100, 8040, 1455);
}

void ScientificSearch::buildMenus()
{
    auto menu = [this](const char* name, const char* caption) {
        auto* created = new QMenu(QLatin1String(caption), this);
        created->setObjectName(QLatin1String(name));
        m_menus << created;
        return created;
    };
    auto item = [this](QMenu* menu, const char* name, const char* caption) {
        auto* created = new MenuItem(QLatin1String(name), QLatin1String(caption), menu);
        menu->addAction(created);
        return created;
    };
    QMenu* file = menu("mnuFile", "&File");
    m_mnuFileNew = item(file, "mnuFileNew", "&New Search");
    m_mnuFileOpenSearch = item(file, "mnuFileOpenSearch", "&Open Search...");
    m_mnuFileSaveSearch = item(file, "mnuFileSaveSearch", "&Save Search");
    m_mnuFileSaveSearchAs = item(file, "mnuFileSaveSearchAs", "Save Search &As...");
    m_mnuFileDeleteSearch = item(file, "mnuFileDeleteSearch", "&Delete Search...");
    file->addSeparator()->setObjectName(QStringLiteral("fill2"));
    m_mnuFileClose = item(file, "mnuFileClose", "&Close");
    QMenu* edit = menu("mnuEdit", "&Edit");
    m_mnuEditCut = item(edit, "mnuEditCut", "Cu&t");
    m_mnuEditCopy = item(edit, "mnuEditCopy", "&Copy");
    m_mnuEditPaste = item(edit, "mnuEditPaste", "&Paste");
    QMenu* options = menu("mnuOptions", "&Options");
    m_mnuOptionsSaveDefault = item(options, "mnuOptionsSaveDefault", "Save Settings as &Default");
    m_mnuOptionsSaveDefault->setCheckable(true);
    m_mnuOptionsViewSQL = item(options, "mnuOptionsViewSQL", "&View Search SQL");
    QMenu* help = menu("Help", "&Help");
    m_mnuHelpBRYXHelp = item(help, "mnuHelpBRYXHelp", "Sorrel &Help    F1");
    m_mnuHelpAbout = item(help, "mnuHelpAbout", "&About Sorrel...");
    QMenu* newName = menu("mnuNew", "New");
    m_mnuNewPlant = item(newName, "mnuNewPlant", "&Botanical...");
    m_mnuNewAnimal = item(newName, "mnuNewAnimal", "&Zoological...");
    m_mnuNewCommunity = item(newName, "mnuNewCommunity", "&Ecological...");
}

void ScientificSearch::buildToolbar()
{
    auto* images = new ImageList(this);
    images->setObjectName(QStringLiteral("ilFindSciName"));
    const std::pair<const char*, const char*> pictures[] = {
        {"New", "document-new"}, {"Open", "document-open"}, {"Save", "document-save"}, {"Cut", "edit-cut"},
        {"Copy", "edit-copy"},   {"Paste", "edit-paste"},   {"Help", "help-browser"}};
    for (const auto& [key, themeName] : pictures)
        images->Add(QLatin1String(key), ThemeIcon(QLatin1String(themeName)));

    m_tbFindSciName = new Toolbar(this);
    m_tbFindSciName->setObjectName(QStringLiteral("tbFindSciName"));
    m_tbFindSciName->SetImageList(images);
    m_tbFindSciName->AddButton(QStringLiteral("New"), QStringLiteral("Create New Search"));
    m_tbFindSciName->AddButton(QStringLiteral("Open"), QStringLiteral("Open Saved Search"));
    m_tbFindSciName->AddButton(QStringLiteral("Save"), QStringLiteral("Save Current Search"));
    m_tbFindSciName->AddSeparator();
    m_tbFindSciName->AddButton(QStringLiteral("Cut"), QStringLiteral("Cut"));
    m_tbFindSciName->AddButton(QStringLiteral("Copy"), QStringLiteral("Copy"));
    m_tbFindSciName->AddButton(QStringLiteral("Paste"), QStringLiteral("Paste"));
    m_tbFindSciName->AddSeparator();
    m_tbFindSciName->AddButton(QStringLiteral("Help"), QStringLiteral("Help"));
    TwipsPlacer(this).place(m_tbFindSciName, 0, 0, DesignWidth, 420);
}

void ScientificSearch::connectHandlers()
{
    // Menu and toolbar handlers have no trap of their own: what escapes goes to the host's
    // default error report (the controls route it there).
    for (OptionButton* option : m_optNameType)
        connect(option, &OptionButton::Click, this, [this](int index) { optNameType_Click(index); });
    connect(m_cboNameCategory, &ComboBox::Click, this, [this] { cboNameCategory_Click(); });
    m_txtSciNameID->SetDigitsOnly(QStringLiteral("The scientific name ID is a number: digits only."));
    connect(m_txtSciNameID, &TextBox::KeyPress, this, [](int& keyAscii) {
        const bool digit = keyAscii >= '0' && keyAscii <= '9';
        if (!digit && keyAscii != KeyAscii::Backspace && keyAscii != KeyAscii::Enter)
            keyAscii = KeyAscii::Discard;
    });
    auto click = [this](CommandButton* button, const char* name, void (ScientificSearch::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, name, handler] { runHandler(name, [&] { (this->*handler)(); }); });
    };
    click(m_cmdStartSearch, "cmdStartSearch_Click", &ScientificSearch::cmdStartSearch_Click);
    click(m_cmdSelectAll, "cmdSelectAll_Click", &ScientificSearch::cmdSelectAll_Click);
    click(m_cmdDeselectAll, "cmdDeselectAll_Click", &ScientificSearch::cmdDeselectAll_Click);
    click(m_cmdAddToList, "cmdAddToList_Click", &ScientificSearch::cmdAddToList_Click);
    click(m_cmdReplaceList, "cmdReplaceList_Click", &ScientificSearch::cmdReplaceList_Click);
    click(m_cmdDetails, "cmdDetails_Click", &ScientificSearch::cmdDetails_Click);
    click(m_cmdNew, "cmdNew_Click", &ScientificSearch::cmdNew_Click);
    click(m_cmdOk, "cmdOk_Click", &ScientificSearch::cmdOk_Click);
    click(m_cmdCancel, "cmdCancel_Click", &ScientificSearch::cmdCancel_Click);
    connect(m_fgSearchResults, &FlexGrid::SelChange, this, [this] { fgSearchResults_SelChange(); });
    connect(m_fgSearchResults, &FlexGrid::DblClick, this, [this] { fgSearchResults_DblClick(); });

    auto menuItem = [this](MenuItem* item, const char* name, std::function<void()> handler) {
        connect(item, &QAction::triggered, this, [name, handler] { runHandler(name, handler); });
    };
    menuItem(m_mnuFileNew, "mnuFileNew_Click",
             [this] { whenEnabled(m_mnuFileNew, [this] { NewSearch(); }); });
    menuItem(m_mnuFileOpenSearch, "mnuFileOpenSearch_Click",
             [this] { whenEnabled(m_mnuFileOpenSearch, [this] { m_saved->OpenSearch(); }); });
    menuItem(m_mnuFileSaveSearch, "mnuFileSaveSearch_Click", [this] {
        whenEnabled(m_mnuFileSaveSearch, [this] {
            bool saveAs = false;
            m_saved->SaveSearch(saveAs);
        });
    });
    menuItem(m_mnuFileSaveSearchAs, "mnuFileSaveSearchAs_Click", [this] {
        whenEnabled(m_mnuFileSaveSearchAs, [this] {
            bool saveAs = true;
            m_saved->SaveSearch(saveAs);
        });
    });
    menuItem(m_mnuFileDeleteSearch, "mnuFileDeleteSearch_Click",
             [this] { whenEnabled(m_mnuFileDeleteSearch, [this] { m_saved->DeleteSearch(); }); });
    menuItem(m_mnuFileClose, "mnuFileClose_Click", [this] { emit Quit(); });
    menuItem(m_mnuEditCut, "mnuEditCut_Click", [this] {
        whenEnabled(m_mnuEditCut, [this] { editCommand(ActiveControl(), "DoCut", QStringLiteral("^X")); });
    });
    menuItem(m_mnuEditCopy, "mnuEditCopy_Click", [this] {
        whenEnabled(m_mnuEditCopy, [this] { editCommand(ActiveControl(), "DoCopy", QStringLiteral("^C")); });
    });
    menuItem(m_mnuEditPaste, "mnuEditPaste_Click", [this] {
        whenEnabled(m_mnuEditPaste,
                    [this] { editCommand(ActiveControl(), "DoPaste", QStringLiteral("^V")); });
    });
    // The check mark toggles on its own (a checkable entry); nothing is stored until closing.
    menuItem(m_mnuOptionsViewSQL, "mnuOptionsViewSQL_Click", [this] { mnuOptionsViewSQL_Click(); });
    menuItem(m_mnuHelpBRYXHelp, "mnuHelpBRYXHelp_Click",
             [] { DesktopServices::current().sendKeys(QStringLiteral("{F1}")); });
    menuItem(m_mnuHelpAbout, "mnuHelpAbout_Click", [this] {
        if (m_appManager)
            m_appManager->ShowAbout();
    });
    menuItem(m_mnuNewPlant, "mnuNewPlant_Click", [this] { CreateNewName(QStringLiteral("Botanical...")); });
    menuItem(m_mnuNewAnimal, "mnuNewAnimal_Click",
             [this] { CreateNewName(QStringLiteral("Zoological...")); });
    menuItem(m_mnuNewCommunity, "mnuNewCommunity_Click",
             [this] { CreateNewName(QStringLiteral("Ecological...")); });
    connect(m_menus.last(), &QMenu::aboutToShow, this,
            [this] { runHandler("mnuNew_Click", [this] { hostWindow()->SetFocus(); }); });
    connect(m_tbFindSciName, &Toolbar::ButtonClick, this,
            [this](const QString& key) { tbFindSciName_ButtonClick(key); });
}

void ScientificSearch::setTabOrder()
{
    // One tab only: its bar needs no stop of its own.
    m_tabFindName->tabBar()->setFocusPolicy(Qt::NoFocus);
    const QList<QWidget*> order = {m_optNameType[0],
                                   m_optNameType[1],
                                   m_optNameType[2],
                                   m_cboNameCategory,
                                   m_cboClassificationLevel,
                                   m_cboFindNameComparison,
                                   m_txtFindNameSciName,
                                   m_txtSciNameID,
                                   m_cmdStartSearch,
                                   m_fgSearchResults,
                                   m_cmdSelectAll,
                                   m_cmdDeselectAll,
                                   m_cmdAddToList,
                                   m_cmdReplaceList,
                                   m_cmdDetails,
                                   m_cmdNew,
                                   m_cmdOk,
                                   m_cmdCancel};
    for (qsizetype position = 1; position < order.size(); ++position)
        QWidget::setTabOrder(order[position - 1], order[position]);
}

void ScientificSearch::showEvent(QShowEvent* event)
{
    UserControl::showEvent(event);
    placeInitialFocus();
}

void ScientificSearch::changeEvent(QEvent* event)
{
    UserControl::changeEvent(event);
    // A modal dialog shows the panel while it still takes no input; the focus goes in once it
    // does.
    if (event->type() == QEvent::EnabledChange)
        placeInitialFocus();
}

void ScientificSearch::placeInitialFocus()
{
    // A user who opens the panel types the name straight away.
    if (m_initialFocusPlaced || !isVisible() || !m_txtFindNameSciName->isEnabled())
        return;
    m_txtFindNameSciName->setFocus(Qt::OtherFocusReason);
    m_initialFocusPlaced = window()->focusWidget() == m_txtFindNameSciName;
}

void ScientificSearch::resizeEvent(QResizeEvent* event)
{
    UserControl::resizeEvent(event);
    // Hosts size their windows around the panel: it keeps its design size whatever they ask.
    const QSize design(twipsToPixels(DesignWidth, this), twipsToPixels(DesignHeight, this));
    if (event->size() != design)
        resize(design);
}

QList<QMenu*> ScientificSearch::Menus() const
{
    return m_menus;
}

std::shared_ptr<HostWindow> ScientificSearch::hostWindow()
{
    return hostWindowOf(*this);
}

// --- Start-up and the public services -------------------------------------------------------

void ScientificSearch::readHostIdentity()
{
    m_serverType = m_appManager->GetServerType();
    m_serverName = m_appManager->GetServerName();
}

void ScientificSearch::applySecurity()
{
    m_appManager->ApplySecurity(*this, QVariant(), QLatin1String(ComponentName), controlsCollection());
}

QVariant ScientificSearch::InitSearch(std::shared_ptr<Recordset>& rsTemp, QVariant objAppManager, int lngView,
                                      std::shared_ptr<WindowManager> objWinMan,
                                      std::shared_ptr<Collection>& colViews, QString ExtraInfo)
{
    m_rsView = rsTemp;
    hostWindow()->SetCaption(QStringLiteral("Find Scientific Name"));
    m_modal = false;
    m_appManager = objAppManager.value<std::shared_ptr<AppManager>>();
    if (!m_appManager)
        throw Error(ErrorNumber::InvalidArgument, QStringLiteral("InitSearch needs the application manager"));
    readHostIdentity();
    m_extraInfo = ExtraInfo;
    m_userId = m_appManager->GetUserID();
    m_winMan = std::move(objWinMan);
    m_colViews = colViews;
    m_lngView = lngView;
    applySecurity();
    m_cmdOk->setEnabled(false);
    m_cmdStartSearch->setDefault(true);
    NewSearch();
    optNameType_Click(0);
    m_cboFindNameComparison->SetListIndex(0);
    loadDefaults(false);
    m_cmdOk->setVisible(false);
    m_cmdCancel->setVisible(false);
    return {};
}

QVariant ScientificSearch::InitModalSearch(std::shared_ptr<AppManager> objAppManager,
                                           std::shared_ptr<Recordset>& rsTemp, QString)
{
    hostWindow()->SetCaption(QStringLiteral("Find Scientific Name"));
    m_modal = true;
    m_appManager = std::move(objAppManager);
    if (!m_appManager)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("InitModalSearch needs the application manager"));
    readHostIdentity();
    m_userId = m_appManager->GetUserID();
    m_colViews = m_appManager->ViewManager()->colViews();
    m_rsView = rsTemp;
    applySecurity();
    for (CommandButton* listButton : {m_cmdSelectAll, m_cmdDeselectAll, m_cmdReplaceList, m_cmdAddToList})
        listButton->setVisible(false);
    m_cmdOk->setEnabled(false);
    m_cmdStartSearch->setDefault(true);
    optNameType_Click(0);
    m_cboFindNameComparison->SetListIndex(0);
    loadDefaults(true);
    hostWindow()->SetHeight(9200);
    return {};
}

QVariant ScientificSearch::InitModalSearch(std::shared_ptr<AppManager> objAppManager,
                                           std::shared_ptr<Recordset>& rsTemp)
{
    return InitModalSearch(std::move(objAppManager), rsTemp, QString());
}

QVariant ScientificSearch::InitModalSearch(std::shared_ptr<AppManager> objAppManager)
{
    std::shared_ptr<Recordset> none;
    return InitModalSearch(std::move(objAppManager), none, QString());
}

void ScientificSearch::loadDefaults(bool modal)
{
    if (!m_extraInfo.isEmpty()) {
        m_mnuOptionsSaveDefault->setEnabled(false);
        m_mnuOptionsSaveDefault->setChecked(false);
        return;
    }
    m_mnuOptionsSaveDefault->setEnabled(true);
    m_saved->LoadDefaultProperties();
    if (m_mnuOptionsSaveDefault->isChecked()) {
        if (!m_saved->LoadDefaultCriteria()) {
            switchOnNameType(0);
            LoadNameCategories(*m_appManager, *m_cboNameCategory, QLatin1String(NameTypeCodes[0]));
            if (modal)
                m_cboFindNameComparison->SetListIndex(0);
        }
    } else if (modal) {
        optNameType_Click(0);
    }
}

bool ScientificSearch::CanClose()
{
    if (m_extraInfo.isEmpty()) {
        m_saved->SaveDefaultProperties();
        if (m_mnuOptionsSaveDefault->isChecked())
            m_saved->SaveDefaultCriteria();
    }
    return true;
}

QObject* ScientificSearch::ActiveControl() const
{
    QWidget* focused = QApplication::focusWidget();
    return focused && isAncestorOf(focused) ? focused : nullptr;
}

int ScientificSearch::DisplayMessage(QString strMessageID, QString strArg1, QString strArg2, QString strArg3)
{
    if (!m_appManager)
        throw Error(
            ErrorNumber::ObjectClosed,
            QStringLiteral("Message %1 cannot be shown: the panel has not been started").arg(strMessageID));
    return static_cast<int32_t>(
        m_appManager->Message(strMessageID, MessageArguments(strArg1, strArg2, strArg3)));
}

void ScientificSearch::tbFindSciName_ButtonClick(const QString& key)
{
    if (key == QLatin1String("New"))
        m_mnuFileNew->trigger();
    else if (key == QLatin1String("Open"))
        m_mnuFileOpenSearch->trigger();
    else if (key == QLatin1String("Save"))
        m_mnuFileSaveSearch->trigger();
    else if (key == QLatin1String("Cut"))
        m_mnuEditCut->trigger();
    else if (key == QLatin1String("Copy"))
        m_mnuEditCopy->trigger();
    else if (key == QLatin1String("Paste"))
        m_mnuEditPaste->trigger();
    else if (key == QLatin1String("Help"))
        DesktopServices::current().sendKeys(QStringLiteral("{F1}"));
}

// --- Criteria ---------------------------------------------------------------------------------

SearchCriteria ScientificSearch::Criteria() const
{
    SearchCriteria criteria;
    criteria.nameTypeIndex = m_optNameType[0]->isChecked() ? 0 : m_optNameType[1]->isChecked() ? 1 : 2;
    criteria.category = m_cboNameCategory->Text();
    criteria.classificationLevel = m_cboClassificationLevel->Text();
    criteria.comparison = m_cboFindNameComparison->ListIndex();
    criteria.nameText = m_txtFindNameSciName->text();
    criteria.idText = m_txtSciNameID->text();
    return criteria;
}

QString ScientificSearch::BuildSearchSQL() const
{
    return bryx::BuildSearchSQL(Criteria());
}

bool ScientificSearch::HasSearchCriteria() const
{
    return bryx::HasSearchCriteria(Criteria());
}

void ScientificSearch::setNameTypeValue(int index)
{
    // Code switching a button on runs its click as the user's click would, but here, so that
    // a failing lookup reaches the trap of the operation that switched it (a saved search
    // opening, defaults loading) instead of the controls' own error report.
    if (m_optNameType[index]->isChecked())
        return;
    {
        const QSignalBlocker quiet(m_optNameType[index]);
        m_optNameType[index]->setChecked(true);
    }
    optNameType_Click(index);
}

void ScientificSearch::switchOnNameType(int index)
{
    // A button already on is clicked explicitly.
    if (m_optNameType[index]->isChecked())
        optNameType_Click(index);
    else
        setNameTypeValue(index);
}

void ScientificSearch::optNameType_Click(int index)
{
    m_cboNameCategory->Clear();
    m_cboClassificationLevel->Clear();
    if (index >= 0 && index < int(std::size(NameTypeCodes)) && m_appManager)
        LoadNameCategories(*m_appManager, *m_cboNameCategory, QLatin1String(NameTypeCodes[index]));
}

void ScientificSearch::cboNameCategory_Click()
{
    m_cboClassificationLevel->Clear();
    LoadClassificationLevels(*m_appManager, *m_cboClassificationLevel, m_cboNameCategory->Text());
}

void ScientificSearch::NewSearch()
{
    m_searchName.clear();
    m_txtFindNameSciName->clear();
    m_txtSciNameID->clear();
    m_cboNameCategory->Clear();
    m_cboClassificationLevel->Clear();
    setNameTypeValue(0);
    LoadNameCategories(*m_appManager, *m_cboNameCategory, QLatin1String(NameTypeCodes[0]));
    m_cboFindNameComparison->SetListIndex(0);
    if (m_rsResults) {
        RS_Functions::EmptyRecordset(*m_rsResults);
        m_fgSearchResults->Refresh();
    }
    showRecordCount();
}

void ScientificSearch::showRecordCount()
{
    m_lblRecordsReturned->setText(m_rsResults ? QString::number(m_rsResults->RecordCount())
                                              : QStringLiteral("0"));
}

QString ScientificSearch::BuildSearchState() const
{
    return SearchStateXml::BuildSearchState(Criteria());
}

QString ScientificSearch::BuildSearchProperties() const
{
    return SearchStateXml::BuildSearchProperties(m_mnuOptionsSaveDefault->isChecked());
}

bool ScientificSearch::SaveSettingsAsDefault() const
{
    return m_mnuOptionsSaveDefault->isChecked();
}

void ScientificSearch::ApplySearchState(const QString& xml)
{
    NewSearch();
    const auto state = SearchStateXml::ReadSearchState(xml);
    if (!state)
        return;
    if (state->nameTypeDesc) {
        if (const int index = SearchStateXml::NameTypeIndex(*state->nameTypeDesc); index >= 0)
            switchOnNameType(index);
    } else {
        optNameType_Click(0);
    }
    if (state->category) {
        m_cboNameCategory->SetText(*state->category);
        if (m_cboNameCategory->ListIndex() >= 0)
            cboNameCategory_Click();
    }
    if (state->classificationLevel)
        m_cboClassificationLevel->SetText(*state->classificationLevel);
    if (state->scientificName)
        m_txtFindNameSciName->setText(*state->scientificName);
    if (state->comparison) {
        bool whole = false;
        const int comparison = state->comparison->trimmed().toInt(&whole);
        if (!whole)
            throw Error(
                ErrorNumber::TypeMismatch,
                QStringLiteral("The saved comparison \"%1\" is not a whole number").arg(*state->comparison));
        // A number the list has no entry for raises "Invalid property value".
        m_cboFindNameComparison->SetListIndex(comparison);
    }
    if (state->id)
        m_txtSciNameID->setText(*state->id);
}

void ScientificSearch::ApplySearchProperties(const QString& xml)
{
    if (const auto saveOnExit = SearchStateXml::ReadSaveOnExit(xml))
        m_mnuOptionsSaveDefault->setChecked(*saveOnExit);
}

void ScientificSearch::mnuOptionsViewSQL_Click()
{
    frmSQL viewer(window());
    viewer.txtSQL()->SetText(BuildSearchSQL());
    viewer.SetIcon(hostWindow()->Icon());
    viewer.ShowModal();
    viewer.Unload();
}

// --- Searching and the result list ----------------------------------------------------------

void ScientificSearch::cmdStartSearch_Click()
{
    try {
        if (!HasSearchCriteria()
            && m_appManager->Message(QStringLiteral("APP043"), nullptr) == MsgBoxResult::No)
            return;
        const BusyPointer busy;
        m_fgSearchResults->SetDataSource(nullptr);
        m_lblRecordsReturned->setText(QStringLiteral("Searching..."));
        QString statement = BuildSearchSQL();
        m_fgSearchResults->SetRows(1);
        m_rsResults = m_appManager->CallGetQueryRSXML(statement);
        if (!m_rsResults)
            throw Error(ErrorNumber::ObjectClosed, QStringLiteral("The search answered no recordset"));
        m_fgSearchResults->SetDataSource(m_rsResults);
        Misc_Functions::FormatGridHeaders(*m_fgSearchResults);
        m_fgSearchResults->Refresh();
        m_fgSearchResults->SetColHidden(3, true);
        showRecordCount();
        if (m_rsResults->RecordCount() < 1)
            m_cmdOk->setEnabled(false);
        else
            m_fgSearchResults->SetRow(m_fgSearchResults->FixedRows());
    } catch (const std::exception& caught) {
        DisplayMessage(QStringLiteral("APP014"), Error::from(caught).Description());
    }
}

void ScientificSearch::fgSearchResults_SelChange()
{
    m_cmdOk->setEnabled(m_fgSearchResults->Row() >= m_fgSearchResults->FixedRows()
                        || m_fgSearchResults->SelectedRows() > 0);
}

void ScientificSearch::fgSearchResults_DblClick()
{
    if (m_fgSearchResults->Row() < 1)
        return;
    if (m_modal)
        runHandler("cmdOk_Click", [this] { cmdOk_Click(); });
    else
        runHandler("cmdAddToList_Click", [this] { cmdAddToList_Click(); });
}

void ScientificSearch::cmdSelectAll_Click()
{
    if (m_fgSearchResults->Rows() < 2)
        return;
    const BusyPointer busy;
    m_fgSearchResults->Select(1, 1, m_fgSearchResults->Rows() - 1, 1);
}

void ScientificSearch::cmdDeselectAll_Click()
{
    m_fgSearchResults->Select(0, 0, 0, 0);
    m_fgSearchResults->SetIsSelected(0, false);
}

void ScientificSearch::cmdAddToList_Click()
{
    changeWorkingList(&RS_Functions::AddSelectedRows);
}

void ScientificSearch::cmdReplaceList_Click()
{
    changeWorkingList(&RS_Functions::ReplaceWithSelectedRows);
}

void ScientificSearch::changeWorkingList(void (*change)(const ResultGrid&, Recordset&, Recordset&))
{
    if (!m_rsResults)
        return;
    if (!m_rsView)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("There is no working list to put the names in"));
    const BusyPointer busy;
    // The host's list repaints once, after all rows are in, and repaints even when the change
    // fails half-way.
    const auto host = hostWindow();
    host->SetMainGridRedraw(false);
    const auto redraw = qScopeGuard([&host] { host->SetMainGridRedraw(true); });
    change(*m_fgSearchResults, *m_rsResults, *m_rsView);
}

int ScientificSearch::chosenRow() const
{
    // A list box's current row is its selected one until the user selects otherwise; a
    // Ctrl+click can leave the current row unselected, and then the current row still counts.
    return m_fgSearchResults->SelectedRows() > 0 ? m_fgSearchResults->SelectedRow(0)
                                                 : m_fgSearchResults->Row();
}

int ScientificSearch::FindWorkingListView(const QString& listType) const
{
    return FindViewIndex(m_colViews.get(), listType);
}

void ScientificSearch::cmdDetails_Click()
{
    if (m_fgSearchResults->Row() < 1)
        return;
    const int32_t id = m_fgSearchResults->TextMatrix(chosenRow(), 0).toInt();
    if (!m_winMan) {
        frmModalDetail details(window());
        if (!details.InitDialog(QLatin1String(registration::DetailsProgId), m_appManager, QString()))
            return; // the dialog has said why
        details.SetIcon(hostWindow()->Icon());
        details.LoadData(id);
        details.ShowModal();
        details.Unload();
        return;
    }
    const BusyPointer busy;
    std::shared_ptr<Recordset> single;
    RS_Functions::CopyCurrentRow(*m_fgSearchResults, *m_rsResults, single);
    const int view = FindWorkingListView(QStringLiteral("SNM"));
    const int sameView = FindWorkingListView(QStringLiteral("SNM"));
    m_winMan->OpenDetails(view, sameView, id, QStringLiteral("SINGLE_RECORD_VIEW"), &single);
    single.reset();
}

void ScientificSearch::cmdNew_Click()
{
    frmSelectScientificNameType chooser(window());
    chooser.SetIcon(hostWindow()->Icon());
    chooser.ShowModal();
    if (chooser.Canceled())
        return;
    const QString typeCaption = chooser.ChosenTypeCaption();
    if (!typeCaption.isEmpty())
        CreateNewName(typeCaption);
}

std::shared_ptr<Recordset> ScientificSearch::GetSearchRowByID(int32_t id)
{
    QString statement = QStringLiteral("SELECT * FROM SCIENTIFIC_SRCH_VW WHERE ID=") + QString::number(id);
    return m_appManager->CallGetQueryRSXML(statement);
}

void ScientificSearch::CreateNewName(const QString& typeCaption)
{
    if (m_winMan) {
        m_winMan->NewDetails(m_lngView, m_lngView, typeCaption, nullptr);
        return;
    }
    frmModalDetail details(window());
    if (!details.InitDialog(QLatin1String(registration::DetailsProgId), m_appManager, typeCaption))
        return; // the dialog has said why
    details.SetIcon(hostWindow()->Icon());
    const int32_t id = details.NewData(0);
    details.ShowModal();
    const std::shared_ptr<Recordset> row = GetSearchRowByID(id);
    if (row && row->RecordCount() == 1) {
        m_fgSearchResults->SetDataSource(nullptr);
        if (!m_rsResults)
            m_rsResults = row;
        else
            RS_Functions::MergeRecord(*row, *m_rsResults);
        m_fgSearchResults->SetDataSource(m_rsResults);
        Misc_Functions::FormatGridHeaders(*m_fgSearchResults);
        m_fgSearchResults->SetColHidden(3, true);
        showRecordCount();
    }
    details.Unload();
}

void ScientificSearch::SelectedItems()
{
    if (m_colSelectedItems) {
        for (int position = 0; position < m_fgSearchResults->SelectedRows(); ++position)
            m_colSelectedItems->Add(
                m_fgSearchResults->TextMatrix(m_fgSearchResults->SelectedRow(position), 0));
    }
    if (m_useRecordset && m_rsView && m_rsResults)
        RS_Functions::ReplaceWithSelectedRows(*m_fgSearchResults, *m_rsResults, *m_rsView);
}

void ScientificSearch::SetSelectedItems(std::shared_ptr<Collection>& colSelectedItems)
{
    m_colSelectedItems = colSelectedItems;
}

void ScientificSearch::SetSingleSelect()
{
    m_fgSearchResults->SetMultiSelect(false);
}

void ScientificSearch::UseSelectedRecordset(bool blnUseRecordset)
{
    m_useRecordset = blnUseRecordset;
}

void ScientificSearch::cmdOk_Click()
{
    SelectedItems();
    emit Quit();
}

void ScientificSearch::cmdCancel_Click()
{
    m_rsView.reset();
    emit Quit();
}

} // namespace bryx
