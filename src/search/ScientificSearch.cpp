#include "ScientificSearch.h"

#include "DetailsLauncher.h"
#include "ResultList.h"
#include "SavedSearches.h"
#include "SearchCriteriaForm.h"
#include "SearchStateXml.h"
#include "SearchStatement.h"
#include "SearchUi.h"
#include "WorkingListChanges.h"
#include "collection/Collection.h"
#include "common/BusyPointer.h"
#include "common/ComponentCommands.h"
#include "contracts/AppManager.h"
#include "contracts/HostTypes.h"
#include "contracts/HostWindow.h"
#include "contracts/WindowManager.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "error/Error.h"
#include "frmSQL.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/MessageBox.h"
#include "services/Screen.h"

#include <QMenu>
#include <QResizeEvent>

namespace bryx {

ScientificSearch::ScientificSearch(QWidget* parent)
    : UserControl(parent)
    , m_session(*this, ComponentName)
    , m_saved(std::make_unique<SavedSearches>(m_session))
    , m_ui(std::make_unique<SearchUi>())
{
    registerHostTypes();
    setObjectName(QLatin1String(ComponentName));
    m_ui->setupUi(*this, DesignWidth);
    m_criteria = std::make_unique<SearchCriteriaForm>(m_session, *m_ui);
    m_results = std::make_unique<ResultList>(m_session, *m_ui);
    m_changes = std::make_unique<WorkingListChanges>(m_session, *m_ui->fgSearchResults);
    m_launcher = std::make_unique<DetailsLauncher>(m_session);
    connectHandlers();
    setSizeTwips(DesignWidth, DesignHeight);
}

ScientificSearch::~ScientificSearch()
{
    m_session.release();
}

void ScientificSearch::registerClass()
{
    ComponentRegistry::instance().add(
        {QLatin1String(registration::SearchProgId), QLatin1String(registration::SearchClassId),
         QLatin1String(registration::SearchInterfaceId), QLatin1String(registration::SearchEventsId),
         [](QWidget* parent) -> UserControl* { return new ScientificSearch(parent); }});
}

// --- Layout ---------------------------------------------------------------------------------

void ScientificSearch::connectHandlers()
{
    // Menu and toolbar handlers have no trap of their own: what escapes goes to the host's
    // default error report (the controls route it there).
    for (OptionButton* option : m_ui->optNameType)
        connect(option, &OptionButton::Click, this, [this](int index) { optNameType_Click(index); });
    connect(m_ui->cboNameCategory, &ComboBox::Click, this, [this] { cboNameCategory_Click(); });
    m_ui->txtSciNameID->SetDigitsOnly(QStringLiteral("The scientific name ID is a number: digits only."));
    connect(m_ui->txtSciNameID, &TextBox::KeyPress, this, [](int& keyAscii) {
        const bool digit = keyAscii >= '0' && keyAscii <= '9';
        if (!digit && keyAscii != KeyAscii::Backspace && keyAscii != KeyAscii::Enter)
            keyAscii = KeyAscii::Discard;
    });
    auto click = [this](CommandButton* button, const char* name, void (ScientificSearch::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, name, handler] { runHandler(name, [&] { (this->*handler)(); }); });
    };
    click(m_ui->cmdStartSearch, "cmdStartSearch_Click", &ScientificSearch::cmdStartSearch_Click);
    click(m_ui->cmdSelectAll, "cmdSelectAll_Click", &ScientificSearch::cmdSelectAll_Click);
    click(m_ui->cmdDeselectAll, "cmdDeselectAll_Click", &ScientificSearch::cmdDeselectAll_Click);
    click(m_ui->cmdAddToList, "cmdAddToList_Click", &ScientificSearch::cmdAddToList_Click);
    click(m_ui->cmdReplaceList, "cmdReplaceList_Click", &ScientificSearch::cmdReplaceList_Click);
    click(m_ui->cmdDetails, "cmdDetails_Click", &ScientificSearch::cmdDetails_Click);
    click(m_ui->cmdNew, "cmdNew_Click", &ScientificSearch::cmdNew_Click);
    click(m_ui->cmdOk, "cmdOk_Click", &ScientificSearch::cmdOk_Click);
    click(m_ui->cmdCancel, "cmdCancel_Click", &ScientificSearch::cmdCancel_Click);
    connect(m_ui->fgSearchResults, &FlexGrid::SelChange, this, [this] { fgSearchResults_SelChange(); });
    connect(m_ui->fgSearchResults, &FlexGrid::DblClick, this, [this] { fgSearchResults_DblClick(); });

    const SearchUi& ui = *m_ui;
    onEnabledMenuItem(*this, ui.mnuFileNew, "mnuFileNew_Click", [this] { NewSearch(); });
    onEnabledMenuItem(*this, ui.mnuFileOpenSearch, "mnuFileOpenSearch_Click", [this] { openSearch(); });
    onEnabledMenuItem(*this, ui.mnuFileSaveSearch, "mnuFileSaveSearch_Click", [this] { saveSearch(false); });
    onEnabledMenuItem(*this, ui.mnuFileSaveSearchAs, "mnuFileSaveSearchAs_Click",
                      [this] { saveSearch(true); });
    onEnabledMenuItem(*this, ui.mnuFileDeleteSearch, "mnuFileDeleteSearch_Click", [this] {
        if (m_saved->DeleteSearch() == m_session.strSearchName)
            m_session.strSearchName.clear();
    });
    onMenuItem(*this, ui.mnuFileClose, "mnuFileClose_Click", [this] { emit Quit(); });
    onEditMenuItems(*this, ui.mnuEditCut, ui.mnuEditCopy, ui.mnuEditPaste,
                    [this] { return ActiveControl(); });
    // The check mark toggles on its own (a checkable entry); nothing is stored until closing.
    onMenuItem(*this, ui.mnuOptionsViewSQL, "mnuOptionsViewSQL_Click", [this] { mnuOptionsViewSQL_Click(); });
    onMenuItem(*this, ui.mnuHelpBRYXHelp, "mnuHelpBRYXHelp_Click",
               [] { DesktopServices::current().sendKeys(QStringLiteral("{F1}")); });
    onMenuItem(*this, ui.mnuHelpAbout, "mnuHelpAbout_Click", [this] {
        if (m_session.objAppManager)
            m_session.objAppManager->ShowAbout();
    });
    onMenuItem(*this, ui.mnuNewPlant, "mnuNewPlant_Click",
               [this] { CreateNewName(QStringLiteral("Botanical...")); });
    onMenuItem(*this, ui.mnuNewAnimal, "mnuNewAnimal_Click",
               [this] { CreateNewName(QStringLiteral("Zoological...")); });
    onMenuItem(*this, ui.mnuNewCommunity, "mnuNewCommunity_Click",
               [this] { CreateNewName(QStringLiteral("Ecological...")); });
    connect(ui.menus.last(), &QMenu::aboutToShow, this,
            [this] { runHandler("mnuNew_Click", [this] { m_session.hostWindow()->SetFocus(); }); });
    connect(m_ui->tbFindSciName, &Toolbar::ButtonClick, this,
            [this](const QString& key) { tbFindSciName_ButtonClick(key); });
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
    if (m_session.initialFocusPlaced || !isVisible() || !m_ui->txtFindNameSciName->isEnabled())
        return;
    m_ui->txtFindNameSciName->setFocus(Qt::OtherFocusReason);
    m_session.initialFocusPlaced = window()->focusWidget() == m_ui->txtFindNameSciName;
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
    return m_ui->menus;
}

// --- Start-up and the public services -------------------------------------------------------

QVariant ScientificSearch::InitSearch(std::shared_ptr<Recordset>& rsTemp, QVariant objAppManager, int lngView,
                                      std::shared_ptr<WindowManager> objWinMan,
                                      std::shared_ptr<Collection>& colViews, QString ExtraInfo)
{
    m_session.rsView = rsTemp;
    m_session.hostWindow()->SetCaption(QStringLiteral("Find Scientific Name"));
    m_session.blnModal = false;
    m_session.start(objAppManager.value<std::shared_ptr<AppManager>>(), "InitSearch");
    m_session.readHostIdentity();
    m_session.strExtraInfo = ExtraInfo;
    m_session.objWinMan = std::move(objWinMan);
    m_session.colViews = colViews;
    m_session.lngView = lngView;
    m_session.applySecurity();
    m_ui->cmdOk->setEnabled(false);
    m_ui->cmdStartSearch->setDefault(true);
    NewSearch();
    optNameType_Click(0);
    m_ui->cboFindNameComparison->SetListIndex(0);
    loadDefaults(false);
    m_ui->cmdOk->setVisible(false);
    m_ui->cmdCancel->setVisible(false);
    return {};
}

QVariant ScientificSearch::InitModalSearch(std::shared_ptr<AppManager> objAppManager,
                                           std::shared_ptr<Recordset>& rsTemp, QString)
{
    m_session.hostWindow()->SetCaption(QStringLiteral("Find Scientific Name"));
    m_session.blnModal = true;
    m_session.start(std::move(objAppManager), "InitModalSearch");
    m_session.readHostIdentity();
    m_session.colViews = m_session.objAppManager->ViewManager()->colViews();
    m_session.rsView = rsTemp;
    m_session.applySecurity();
    for (CommandButton* listButton :
         {m_ui->cmdSelectAll, m_ui->cmdDeselectAll, m_ui->cmdReplaceList, m_ui->cmdAddToList})
        listButton->setVisible(false);
    m_ui->cmdOk->setEnabled(false);
    m_ui->cmdStartSearch->setDefault(true);
    optNameType_Click(0);
    m_ui->cboFindNameComparison->SetListIndex(0);
    loadDefaults(true);
    m_session.hostWindow()->SetHeight(9200);
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
    if (!m_session.strExtraInfo.isEmpty()) {
        m_ui->mnuOptionsSaveDefault->setEnabled(false);
        m_ui->mnuOptionsSaveDefault->setChecked(false);
        return;
    }
    m_ui->mnuOptionsSaveDefault->setEnabled(true);
    applySaved(m_saved->LoadDefaultProperties(), "APP010", &ScientificSearch::ApplySearchProperties);
    if (m_ui->mnuOptionsSaveDefault->isChecked()) {
        if (!applySaved(m_saved->LoadDefaultCriteria(), "APP009", &ScientificSearch::ApplySearchState)) {
            m_criteria->SwitchOnNameType(0);
            m_criteria->LoadCategoriesOf(0);
            if (modal)
                m_ui->cboFindNameComparison->SetListIndex(0);
        }
    } else if (modal) {
        optNameType_Click(0);
    }
}

bool ScientificSearch::CanClose()
{
    if (m_session.strExtraInfo.isEmpty()) {
        m_saved->SaveDefaultProperties(BuildSearchProperties());
        if (m_ui->mnuOptionsSaveDefault->isChecked())
            m_saved->SaveDefaultCriteria(BuildSearchState());
    }
    return true;
}

QObject* ScientificSearch::ActiveControl() const
{
    return m_session.activeControl();
}

int ScientificSearch::DisplayMessage(QString strMessageID, QString strArg1, QString strArg2, QString strArg3)
{
    return m_session.DisplayMessage(strMessageID, strArg1, strArg2, strArg3);
}

bool ScientificSearch::applySaved(const std::optional<QString>& document, const char* messageId,
                                  void (ScientificSearch::*apply)(const QString&))
{
    if (!document)
        return false;
    try {
        (this->*apply)(*document);
        return true;
    } catch (const std::exception& caught) {
        m_saved->report(messageId, Error::from(caught).Description());
        return false;
    }
}

void ScientificSearch::openSearch()
{
    const auto opened = m_saved->OpenSearch();
    if (!opened)
        return;
    m_session.strSearchName = opened->name;
    // The reset inside the apply empties the name; it comes back once the criteria are in.
    if (applySaved(opened->state, "APP010", &ScientificSearch::ApplySearchState))
        m_session.strSearchName = opened->name;
}

void ScientificSearch::saveSearch(bool saveAs)
{
    m_session.strSearchName = m_saved->SaveSearch(m_session.strSearchName, BuildSearchState(), saveAs);
}

void ScientificSearch::tbFindSciName_ButtonClick(const QString& key)
{
    if (key == QLatin1String("New"))
        m_ui->mnuFileNew->trigger();
    else if (key == QLatin1String("Open"))
        m_ui->mnuFileOpenSearch->trigger();
    else if (key == QLatin1String("Save"))
        m_ui->mnuFileSaveSearch->trigger();
    else if (key == QLatin1String("Cut"))
        m_ui->mnuEditCut->trigger();
    else if (key == QLatin1String("Copy"))
        m_ui->mnuEditCopy->trigger();
    else if (key == QLatin1String("Paste"))
        m_ui->mnuEditPaste->trigger();
    else if (key == QLatin1String("Help"))
        DesktopServices::current().sendKeys(QStringLiteral("{F1}"));
}

// --- Criteria ---------------------------------------------------------------------------------

SearchCriteria ScientificSearch::Criteria() const
{
    return m_criteria->Criteria();
}

QString ScientificSearch::BuildSearchSQL() const
{
    return bryx::BuildSearchSQL(Criteria());
}

bool ScientificSearch::HasSearchCriteria() const
{
    return bryx::HasSearchCriteria(Criteria());
}

void ScientificSearch::optNameType_Click(int index)
{
    m_criteria->NameTypeChosen(index);
}

void ScientificSearch::cboNameCategory_Click()
{
    m_criteria->CategoryChosen();
}

void ScientificSearch::NewSearch()
{
    m_session.strSearchName.clear();
    m_criteria->Reset();
    m_results->Clear();
}

QString ScientificSearch::BuildSearchState() const
{
    return SearchStateXml::BuildSearchState(Criteria());
}

QString ScientificSearch::BuildSearchProperties() const
{
    return SearchStateXml::BuildSearchProperties(m_ui->mnuOptionsSaveDefault->isChecked());
}

bool ScientificSearch::SaveSettingsAsDefault() const
{
    return m_ui->mnuOptionsSaveDefault->isChecked();
}

void ScientificSearch::ApplySearchState(const QString& xml)
{
    NewSearch();
    if (const auto state = SearchStateXml::ReadSearchState(xml))
        m_criteria->Apply(*state);
}

void ScientificSearch::ApplySearchProperties(const QString& xml)
{
    if (const auto saveOnExit = SearchStateXml::ReadSaveOnExit(xml))
        m_ui->mnuOptionsSaveDefault->setChecked(*saveOnExit);
}

void ScientificSearch::mnuOptionsViewSQL_Click()
{
    frmSQL viewer(window());
    viewer.txtSQL()->SetText(BuildSearchSQL());
    viewer.SetIcon(m_session.hostWindow()->Icon());
    viewer.ShowModal();
    viewer.Unload();
}

// --- Searching and the result list ----------------------------------------------------------

void ScientificSearch::cmdStartSearch_Click()
{
    try {
        if (!HasSearchCriteria()
            && m_session.objAppManager->Message(QStringLiteral("APP043"), nullptr) == MsgBoxResult::No)
            return;
        m_results->Run(BuildSearchSQL());
    } catch (const std::exception& caught) {
        DisplayMessage(QStringLiteral("APP014"), Error::from(caught).Description());
    }
}

void ScientificSearch::fgSearchResults_SelChange()
{
    m_results->UpdateOk();
}

void ScientificSearch::fgSearchResults_DblClick()
{
    if (m_ui->fgSearchResults->Row() < 1)
        return;
    if (m_session.blnModal)
        runHandler("cmdOk_Click", [this] { cmdOk_Click(); });
    else
        runHandler("cmdAddToList_Click", [this] { cmdAddToList_Click(); });
}

void ScientificSearch::cmdSelectAll_Click()
{
    m_results->SelectAll();
}

void ScientificSearch::cmdDeselectAll_Click()
{
    m_results->SelectNone();
}

void ScientificSearch::cmdAddToList_Click()
{
    m_changes->AddSelected();
}

void ScientificSearch::cmdReplaceList_Click()
{
    m_changes->ReplaceWithSelected();
}

int ScientificSearch::FindWorkingListView(const QString& listType) const
{
    return m_session.FindWorkingListView(listType);
}

void ScientificSearch::cmdDetails_Click()
{
    if (m_ui->fgSearchResults->Row() >= 1)
        m_launcher->OpenDetails(*m_ui->fgSearchResults, m_results->ChosenRow());
}

void ScientificSearch::cmdNew_Click()
{
    if (const QString typeCaption = m_launcher->ChooseNewNameType(); !typeCaption.isEmpty())
        CreateNewName(typeCaption);
}

void ScientificSearch::CreateNewName(const QString& typeCaption)
{
    if (const auto row = m_launcher->CreateNewName(typeCaption))
        m_results->Merge(row);
}

void ScientificSearch::SelectedItems()
{
    m_changes->HandOverSelection();
}

void ScientificSearch::SetSelectedItems(std::shared_ptr<Collection>& colSelectedItems)
{
    m_session.colSelectedItems = colSelectedItems;
}

void ScientificSearch::SetSingleSelect()
{
    m_ui->fgSearchResults->SetMultiSelect(false);
}

void ScientificSearch::UseSelectedRecordset(bool blnUseRecordset)
{
    m_session.blnUseRecordset = blnUseRecordset;
}

void ScientificSearch::cmdOk_Click()
{
    SelectedItems();
    emit Quit();
}

void ScientificSearch::cmdCancel_Click()
{
    m_session.rsView.reset();
    emit Quit();
}

} // namespace bryx
