#include "ScientificDetails.h"

#include "BusyPicture.h"
#include "DetailsUi.h"
#include "EstablishedName.h"
#include "MaintenanceWindows.h"
#include "RecordCopies.h"
#include "RecordNavigation.h"
#include "RecordPages.h"
#include "RecordStore.h"
#include "ReferencesPage.h"
#include "TextTools.h"
#include "collection/Collection.h"
#include "common/BusyPointer.h"
#include "common/ComponentCommands.h"
#include "common/MessageArguments.h"
#include "common/ViewIndex.h"
#include "contracts/AppManager.h"
#include "contracts/HostTypes.h"
#include "contracts/HostWindowOf.h"
#include "contracts/ScientificNameRecord.h"
#include "contracts/WindowManager.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "controls/Toolbar.h"
#include "error/Error.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/MessageBox.h"
#include "services/Screen.h"
#include "util/Misc_Functions.h"

#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QResizeEvent>
#include <QTimer>

namespace bryx {

namespace {

// Where the drop-down buttons pop their menus up, in twips from the editor's top left.
constexpr int FileNewMenuX = 0;
constexpr int FileOpenMenuX = 650;
constexpr int DropDownMenuY = 370;

// Keeps the focus in the position box while it holds no number, and moves once it is left for
// another control of the editor. A message box or menu taking the focus for a moment, or another
// window being activated, is no leaving: answering the box's own message would otherwise move
// (or ask to save) a second time.
class PositionBoxFocus : public QObject {
public:
    PositionBoxFocus(TextBox& box, const QWidget& form, RecordNavigation& navigation)
        : QObject(&box)
        , m_form(form)
        , m_navigation(navigation)
    {
        box.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // A box being destroyed loses the focus too, when it is no TextBox any more.
        auto* box = qobject_cast<TextBox*>(watched);
        if (event->type() == QEvent::FocusOut && box
            && leftForAnotherControl(*static_cast<QFocusEvent*>(event))) {
            runHandler("txtCurrentRecord_LostFocus", [&] {
                bool cancel = false;
                m_navigation.txtCurrentRecord_Validate(cancel);
                if (cancel) {
                    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
                    return;
                }
                m_navigation.txtCurrentRecord_LostFocus();
            });
        }
        return false;
    }

private:
    bool leftForAnotherControl(const QFocusEvent& event) const
    {
        if (event.reason() == Qt::ActiveWindowFocusReason || event.reason() == Qt::PopupFocusReason)
            return false;
        // Qt names the widget taking the focus before the old one hears that it lost it.
        const QWidget* next = QApplication::focusWidget();
        return next && m_form.isAncestorOf(next);
    }

    const QWidget& m_form;
    RecordNavigation& m_navigation;
};

} // namespace

ScientificDetails::ScientificDetails(QWidget* parent)
    : UserControl(parent)
    , m_ui(std::make_unique<DetailsUi>())
{
    registerHostTypes();
    setObjectName(QLatin1String(ComponentName));
    m_ui->setupUi(*this);
    m_busy = std::make_unique<BusyPicture>(*m_ui);
    m_pages = std::make_unique<RecordPages>(*this);
    m_store = std::make_unique<RecordStore>(*this);
    m_navigation = std::make_unique<RecordNavigation>(*this);
    m_copies = std::make_unique<RecordCopies>(*this);
    m_established = std::make_unique<EstablishedName>(*this);
    m_references = std::make_unique<ReferencesPage>(*this);
    m_maintenance = std::make_unique<MaintenanceWindows>(*this);
    m_textTools = std::make_unique<TextTools>(*this);
    connectHandlers();
    connectMenus();
    setSizeTwips(DesignWidth, DesignHeight);
}

ScientificDetails::~ScientificDetails()
{
    // Bindings point at this editor's controls: they go before the controls do.
    m_objRecord.reset();
    m_rsOriginal.reset();
    m_rsList.reset();
    m_objAppManager.reset();
    m_recordExtension.reset();
    m_objWinMan.reset();
    m_colViews.reset();
}

void ScientificDetails::registerClass()
{
    ComponentRegistry::instance().add(
        {QLatin1String(registration::DetailsProgId), QLatin1String(registration::DetailsClassId),
         QLatin1String(registration::DetailsInterfaceId), QLatin1String(registration::DetailsEventsId),
         [](QWidget* parent) -> UserControl* { return new ScientificDetails(parent); }});
}

// --- Wiring ---------------------------------------------------------------------------------

void ScientificDetails::connectHandlers()
{
    DetailsUi& ui = *m_ui;
    connect(ui.tabScientificName, &TabControl::Click, this, [this](int) {
        runHandler("tabScientificName_Click", [this] {
            if (m_objRecord)
                m_pages->TabChange(m_ui->tabScientificName->Tab());
        });
    });
    connect(ui.cboCategory, &DataCombo::Change, this,
            [this] { runHandler("cboCategory_Change", [this] { m_pages->cboCategory_Change(); }); });
    connect(ui.ctrScientificName, &RichTextBox::Validate, this, [this](bool& cancel) {
        runHandler("ctrScientificName_Validate", [&] {
            if (m_tabLoaded[0])
                m_pages->ctrScientificName_Validate(cancel);
        });
    });
    // The summary strip follows the author once the box is left, when its binding has
    // written what was typed to the record.
    connect(ui.ctrAuthor, &RichTextBox::Validate, this, [this](bool&) {
        runHandler("ctrAuthor_Validate", [this] {
            if (m_objRecord && !m_blnLoading)
                m_pages->UpdateSummary();
        });
    });
    connect(ui.cmdSelectNomenclatureName, &QPushButton::clicked, this, [this] {
        runHandler("cmdSelectNomenclatureName_Click",
                   [this] { m_established->cmdSelectNomenclatureName_Click(); });
    });
    connect(ui.cmdClearNomenclatureName, &QPushButton::clicked, this, [this] {
        runHandler("cmdClearNomenclatureName_Click",
                   [this] { m_established->cmdClearNomenclatureName_Click(); });
    });
    connect(ui.cmdAddReferences, &QPushButton::clicked, this, [this] {
        runHandler("cmdAddReferences_Click", [this] { m_references->cmdAddReferences_Click(); });
    });
    connect(ui.cmdRemoveReferences, &QPushButton::clicked, this, [this] {
        runHandler("cmdRemoveReferences_Click", [this] { m_references->cmdRemoveReferences_Click(); });
    });
    connect(ui.fgReferences, &FlexGrid::BeforeEdit, this, [this](int row, int col, bool& cancel) {
        m_references->fgReferences_BeforeEdit(row, col, cancel);
    });
    connect(ui.fgReferences, &FlexGrid::AfterEdit, this, [this](int row, int col) {
        runHandler("fgReferences_AfterEdit", [&] { m_references->fgReferences_AfterEdit(row, col); });
    });
    connect(ui.fgReferences, &FlexGrid::AfterSort, this, [this](int, int) {
        runHandler("fgReferences_AfterSort", [this] { m_references->fgReferences_OrderChanged(); });
    });
    connect(ui.fgReferences, &FlexGrid::AfterMoveRow, this, [this](int, int) {
        runHandler("fgReferences_AfterMoveRow", [this] { m_references->fgReferences_OrderChanged(); });
    });
    connect(ui.fgReferences, &FlexGrid::AfterUserResize, this,
            [this](int, int) { m_ui->fgReferences->AutoSize(0, m_ui->fgReferences->Cols() - 1); });
    connect(ui.fgReferences, &FlexGrid::DblClick, this, [this] {
        runHandler("fgReferences_DblClick", [this] { m_references->fgReferences_DblClick(); });
    });
    connect(ui.chkPlaceholderName, &QCheckBox::clicked, this, [this] {
        runHandler("chkPlaceholderName_Click", [this] { m_pages->chkPlaceholderName_Click(); });
    });

    auto click = [this](CommandButton* button, const char* name, void (RecordNavigation::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, name, handler] { runHandler(name, [&] { (m_navigation.get()->*handler)(); }); });
    };
    click(ui.cmdNavFirst, "cmdNavFirst_Click", &RecordNavigation::cmdNavFirst_Click);
    click(ui.cmdNavPrev, "cmdNavPrev_Click", &RecordNavigation::cmdNavPrev_Click);
    click(ui.cmdNavNext, "cmdNavNext_Click", &RecordNavigation::cmdNavNext_Click);
    click(ui.cmdNavLast, "cmdNavLast_Click", &RecordNavigation::cmdNavLast_Click);
    // Any text may be typed: the move itself answers "-3", "0" or "abc" as a position.
    connect(ui.txtCurrentRecord, &TextBox::KeyPress, this, [this](int& keyAscii) {
        runHandler("txtCurrentRecord_KeyPress", [&] { m_navigation->txtCurrentRecord_KeyPress(keyAscii); });
    });
    new PositionBoxFocus(*ui.txtCurrentRecord, *this, *m_navigation);
    connect(ui.tbElementName, &Toolbar::ButtonClick, this, [this](const QString& key) {
        runHandler("tbElementName_ButtonClick", [&] { tbElementName_ButtonClick(key); });
    });
}

void ScientificDetails::connectMenus()
{
    DetailsUi& ui = *m_ui;
    // Menu handlers have no trap of their own: what escapes goes to the host's default error
    // report (runHandler routes it there).
    auto menuItem = [this](MenuItem* item, const char* name, std::function<void()> handler) {
        connect(item, &QAction::triggered, this, [name, handler] { runHandler(name, handler); });
    };
    auto guarded = [&](MenuItem* item, const char* name, std::function<void()> handler) {
        menuItem(item, name, [item, handler] { whenEnabled(item, handler); });
    };
    menuItem(ui.mnuFileSave, "mnuFileSave_Click", [this] {
        if (!m_ui->mnuFileSave->isEnabled() || !m_ui->mnuFileSave->isVisible())
            return;
        // Ctrl+S leaves the focus in the name box: what was typed there reaches the record
        // first, as it does when the focus moves on.
        bool cancel = false;
        if (m_tabLoaded[0] && m_objRecord)
            m_pages->ctrScientificName_Validate(cancel);
        if (!cancel)
            m_store->SaveRecord();
    });
    guarded(ui.mnuFileClose, "mnuFileClose_Click", [this] { emit Quit(); });
    guarded(ui.mnuEditDelete, "mnuEditDelete_Click", [this] {
        int32_t id = m_lngID;
        m_store->DeleteRecord(id);
    });
    guarded(ui.mnuEditCut, "mnuEditCut_Click",
            [this] { editCommand(ActiveControl(), "DoCut", QStringLiteral("^X")); });
    guarded(ui.mnuEditCopy, "mnuEditCopy_Click",
            [this] { editCommand(ActiveControl(), "DoCopy", QStringLiteral("^C")); });
    guarded(ui.mnuEditPaste, "mnuEditPaste_Click",
            [this] { editCommand(ActiveControl(), "DoPaste", QStringLiteral("^V")); });
    guarded(ui.mnuEditGotoFirstRecord, "mnuEditGotoFirstRecord_Click",
            [this] { m_navigation->cmdNavFirst_Click(); });
    guarded(ui.mnuEditGotoLastRecord, "mnuEditGotoLastRecord_Click",
            [this] { m_navigation->cmdNavLast_Click(); });
    guarded(ui.mnuEditGotoNextRecord, "mnuEditGotoNextRecord_Click",
            [this] { m_navigation->cmdNavNext_Click(); });
    guarded(ui.mnuEditGotoPreviousRecord, "mnuEditGotoPreviousRecord_Click",
            [this] { m_navigation->cmdNavPrev_Click(); });
    guarded(ui.mnuEditGotoRecord, "mnuEditGotoRecord_Click", [this] { m_navigation->ShowGotoDialog(); });
    guarded(ui.mnuToolsCopy, "mnuToolsCopy_Click", [this] { m_copies->CopyDataFrom(); });
    guarded(ui.mnuFileOpenNomenclature, "mnuFileOpenNomenclature_Click",
            [this] { m_established->mnuFileOpenNomenclature_Click(); });
    menuItem(ui.mnuHelpBRYXHelp, "mnuHelpBRYXHelp_Click",
             [] { DesktopServices::current().sendKeys(QStringLiteral("{F1}")); });
    menuItem(ui.mnuHelpAbout, "mnuHelpAbout_Click", [this] {
        if (m_objAppManager)
            m_objAppManager->ShowAbout();
    });

    const std::tuple<MenuItem*, const char*, int32_t> newNames[] = {
        {ui.mnuFileNewBotanical, "mnuFileNewBotanical_Click", NameTypeCode::Botanical},
        {ui.mnuFileNewEcological, "mnuFileNewEcological_Click", NameTypeCode::Ecological},
        {ui.mnuFileNewZoological, "mnuFileNewZoological_Click", NameTypeCode::Zoological}};
    for (const auto& [item, name, type] : newNames) {
        const int32_t nameType = type;
        guarded(item, name, [this, nameType] {
            if (CanClose())
                m_pages->NewRecord(nameType);
        });
    }

    guarded(ui.mnuFileNewEGT, "mnuFileNewEGT_Click", [this] { m_maintenance->mnuFileNewEGT_Click(); });
    guarded(ui.mnuFileOpenReferences, "mnuFileOpenReferences_Click",
            [this] { m_maintenance->mnuFileOpenReferences_Click(); });
    guarded(ui.mnuFileOpenRecordMaintenance, "mnuFileOpenRecordMaintenance_Click",
            [this] { m_maintenance->mnuFileOpenRecordMaintenance_Click(); });
    guarded(ui.mnuFileOpenAttributeMaintenance, "mnuFileOpenAttributeMaintenance_Click",
            [this] { m_maintenance->mnuFileOpenAttributeMaintenance_Click(); });
    guarded(ui.mnuToolsFind, "mnuToolsFind_Click", [this] { m_textTools->mnuToolsFind_Click(); });
    guarded(ui.mnuToolsTextEditor, "mnuToolsTextEditor_Click",
            [this] { m_textTools->mnuToolsTextEditor_Click(); });
    guarded(ui.mnuToolsSpellcheck, "mnuToolsSpellcheck_Click",
            [this] { m_textTools->mnuToolsSpellcheck_Click(); });
    guarded(ui.mnuFilePrint, "mnuFilePrint_Click",
            [this] { notYetAvailable(m_ui->mnuFilePrint->text().remove(QLatin1Char('&'))); });
}

void ScientificDetails::notYetAvailable(const QString& what)
{
    MsgBox(QStringLiteral("\"%1\" is not available in this version of the scientific name editor.").arg(what),
           MsgBoxStyle::Information, QStringLiteral("Scientific Name"));
}

void ScientificDetails::tbElementName_ButtonClick(const QString& key)
{
    DetailsUi& ui = *m_ui;
    const QString name = key.toLower();
    if (name == QLatin1String("new")) {
        if (ui.mnuFileNew->isEnabled())
            PopupMenu(*ui.mnuFileNewMenu, FileNewMenuX, DropDownMenuY);
    } else if (name == QLatin1String("open")) {
        if (ui.mnuFileOpen->isEnabled())
            PopupMenu(*ui.mnuFileOpenMenu, FileOpenMenuX, DropDownMenuY);
    } else if (name == QLatin1String("save")) {
        ui.mnuFileSave->trigger();
    } else if (name == QLatin1String("goto")) {
        ui.mnuEditGotoRecord->trigger();
    } else if (name == QLatin1String("copy")) {
        ui.mnuEditCopy->trigger();
    } else if (name == QLatin1String("cut")) {
        ui.mnuEditCut->trigger();
    } else if (name == QLatin1String("paste")) {
        ui.mnuEditPaste->trigger();
    } else if (name == QLatin1String("delete")) {
        ui.mnuEditDelete->trigger();
    } else if (name == QLatin1String("find")) {
        ui.mnuToolsFind->trigger();
    } else if (name == QLatin1String("texteditor")) {
        ui.mnuToolsTextEditor->trigger();
    } else if (name == QLatin1String("spellcheck")) {
        ui.mnuToolsSpellcheck->trigger();
    } else if (name == QLatin1String("help")) {
        ui.mnuHelpBRYXHelp->trigger();
    }
    // "Print" prints nothing.
}

void ScientificDetails::resizeEvent(QResizeEvent* event)
{
    UserControl::resizeEvent(event);
    // Hosts size their windows around the editor: it keeps its design size whatever they ask.
    const QSize design(twipsToPixels(DesignWidth, this), twipsToPixels(DesignHeight, this));
    if (event->size() != design)
        resize(design);
}

QList<QMenu*> ScientificDetails::Menus() const
{
    return m_ui->menus;
}

std::shared_ptr<HostWindow> ScientificDetails::hostWindow()
{
    return hostWindowOf(*this);
}

// --- Start-up -------------------------------------------------------------------------------

int32_t ScientificDetails::NameTypeFromExtraInfo(const QString& extraInfo)
{
    if (extraInfo == QLatin1String("Zoological..."))
        return NameTypeCode::Zoological;
    if (extraInfo == QLatin1String("Ecological..."))
        return NameTypeCode::Ecological;
    return NameTypeCode::Botanical;
}

void ScientificDetails::readHostIdentity()
{
    m_strServerName = m_objAppManager->GetServerName();
    m_lngServerType = m_objAppManager->GetServerType();
    m_lngUserID = m_objAppManager->GetUserID();
    m_strUserName = m_objAppManager->GetUserName();
}

void ScientificDetails::startRecordExtension()
{
    m_dataFramework = CreateObject<DataFramework>(QLatin1String(DataFrameworkProgId));
    m_recordExtension = m_dataFramework->CreateRecordExtension();
    m_recordExtension->Initialize(m_lngUserID, m_objAppManager);
    m_recordExtension->Attach(*this, QLatin1String(ComponentName), controlsCollection());
}

void ScientificDetails::applySecurity()
{
    m_objAppManager->ApplySecurity(*this, QVariant(), QLatin1String(ComponentName), controlsCollection());
}

QVariant ScientificDetails::InitDetails(std::shared_ptr<Recordset>& rsView,
                                        std::shared_ptr<AppManager> objAppManager, int lngViewID,
                                        std::shared_ptr<WindowManager> objWinMan,
                                        std::shared_ptr<Collection>& colViews, QString ExtraInfo)
{
    if (!objAppManager)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("InitDetails needs the application manager"));
    m_objAppManager = std::move(objAppManager);
    m_rsOriginal = rsView;
    m_rsList = rsView;
    readHostIdentity();
    m_objWinMan = std::move(objWinMan);
    m_colViews = colViews;
    m_lngViewID = lngViewID;
    m_strExtraInfo = ExtraInfo;
    m_blnInTabChange = false;
    m_modal = false;
    startRecordExtension();
    applySecurity();
    m_nameType = NameTypeFromExtraInfo(ExtraInfo);
    return {};
}

void ScientificDetails::InitModalDetails(std::shared_ptr<AppManager> objAppManager, QString strExtraInfo)
{
    if (!objAppManager)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("InitModalDetails needs the application manager"));
    m_blnInTabChange = false;
    m_rsOriginal.reset();
    m_rsList.reset();
    m_objWinMan.reset();
    m_objAppManager = std::move(objAppManager);
    m_strServerName = m_objAppManager->GetServerName();
    m_lngServerType = m_objAppManager->GetServerType();
    if (const auto views = m_objAppManager->ViewManager())
        m_colViews = views->colViews();
    m_lngUserID = m_objAppManager->GetUserID();
    m_strUserName = m_objAppManager->GetUserName();
    m_modal = true;
    startRecordExtension();
    applySecurity();
    disableForModalUse();
    m_nameType = NameTypeFromExtraInfo(strExtraInfo);
}

void ScientificDetails::disableForModalUse()
{
    // A modal editor shows exactly one record and cannot delete it, whatever the rights.
    DetailsUi& ui = *m_ui;
    for (const char* key : {"Open", "Delete", "Find", "Goto"})
        ui.tbElementName->Buttons(QLatin1String(key))->setEnabled(false);
    for (MenuItem* item : {ui.mnuFileNew, ui.mnuToolsFind, ui.mnuEditDelete, ui.mnuEditGoto})
        item->setEnabled(false);
    for (QWidget* widget : {static_cast<QWidget*>(ui.cmdNavFirst), static_cast<QWidget*>(ui.cmdNavLast),
                            static_cast<QWidget*>(ui.cmdNavNext), static_cast<QWidget*>(ui.cmdNavPrev),
                            static_cast<QWidget*>(ui.txtCurrentRecord)})
        widget->setEnabled(false);
}

void ScientificDetails::LoadData(int lngIDLocal)
{
    m_pages->LoadData(lngIDLocal);
}

void ScientificDetails::ShowPage(int page)
{
    if (m_objRecord)
        m_pages->TabChange(page);
    else
        m_ui->tabScientificName->SetTab(page);
}

int ScientificDetails::NewData(int)
{
    return m_pages->NewData();
}

int ScientificDetails::CloneData(int lngIDLocal)
{
    return m_copies->CloneData(lngIDLocal);
}

// --- Answers to the host ---------------------------------------------------------------------

bool ScientificDetails::CanClose()
{
    if (!m_objAppManager)
        return true;
    if (m_objAppManager->GetControlAccess(QLatin1String(ComponentName), QStringLiteral("mnuFileSave"))
        != QLatin1String("F")) {
        m_changedReferences = false;
        return true;
    }
    if (m_blnDeleted) {
        m_blnDeleted = false;
        return true;
    }
    if (!m_objRecord)
        return true;
    bool cancel = false;
    if (m_tabLoaded[0])
        m_pages->ctrScientificName_Validate(cancel);
    bool answer = true;
    if (m_store->HasPendingChanges()) {
        const int button = DisplayMessage(QStringLiteral("SNM001"), QString());
        if (button == MsgBoxResult::Cancel)
            answer = false;
        else if (button == MsgBoxResult::Yes)
            answer = m_store->SaveRecord();
    }
    if (answer)
        m_changedReferences = false;
    return answer;
}

void ScientificDetails::NotifyListChanges(QString)
{
    if (!m_rsList || m_blnDeleted)
        return;
    BusyPointer busy;
    Recordset& list = *m_rsList;
    if (m_rsList == m_rsOriginal) {
        if (list.RecordCount() > 0) {
            list.MoveFirst();
            list.Find(QStringLiteral("ID=") + QString::number(m_lngID));
        }
        if (list.RecordCount() == 0 || list.IsEOF()) {
            m_ui->txtCurrentRecord->setText(QStringLiteral("1"));
            m_ui->lblTotalRecords->setText(QStringLiteral("1"));
        } else {
            m_ui->lblTotalRecords->setText(QString::number(list.RecordCount()));
            m_ui->txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
        }
        return;
    }
    if (RecordExists(m_lngID))
        return;
    list.MoveFirst();
    list.Find(QStringLiteral("ID=") + QString::number(m_lngID));
    if (!list.IsEOF()) {
        list.Delete();
        list.UpdateBatch();
    }
    if (list.RecordCount() == 0) {
        emit Quit();
        return;
    }
    m_navigation->ShowRecordAtShownPosition();
}

QObject* ScientificDetails::ActiveControl() const
{
    QWidget* focused = QApplication::focusWidget();
    return focused && isAncestorOf(focused) ? focused : nullptr;
}

int ScientificDetails::DisplayMessage(QString strMessageID, QString strArg1, QString strArg2, QString strArg3)
{
    return int32_t(m_objAppManager->Message(strMessageID, MessageArguments(strArg1, strArg2, strArg3)));
}

void ScientificDetails::Deactivate()
{
    auto ignoringErrors = [](const std::function<void()>& step) {
        try {
            step();
        } catch (...) {
        }
    };
    ignoringErrors([this] { Misc_Functions::DeactivateBindGrids(controlsCollection()); });
    ignoringErrors([this] {
        if (m_objRecord) {
            m_objRecord->UnbindField(QString());
            m_objRecord->Release();
        }
    });
    m_rsOriginal.reset();
    m_rsList.reset();
    m_objRecord.reset();
    m_objAppManager.reset();
    m_recordExtension.reset();
    m_objWinMan.reset();
    m_colViews.reset();
}

// --- Record views ------------------------------------------------------------------------------

std::unique_ptr<ScientificNameRecord> ScientificDetails::CreateRecord()
{
    if (!m_dataFramework)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("The scientific name editor is not initialised"));
    auto record = m_dataFramework->CreateScientificNameRecord();
    record->Connect(m_strServerName, m_lngServerType);
    return record;
}

std::shared_ptr<Recordset> ScientificDetails::RunQuery(const QString& sql)
{
    if (!m_dataFramework)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("The scientific name editor is not initialised"));
    const auto query = m_dataFramework->CreateQueryObject();
    query->Connect(m_strServerName, m_lngServerType);
    return query->Run(sql);
}

std::shared_ptr<Recordset> ScientificDetails::GetSingleRecordView(int32_t id)
{
    return RunQuery(QStringLiteral("select * from scientific_wl_vw where id=") + QString::number(id));
}

bool ScientificDetails::RecordExists(int32_t id)
{
    const auto rows = GetSingleRecordView(id);
    return rows && rows->RecordCount() > 0;
}

std::shared_ptr<Recordset> ScientificDetails::GetEmptyView()
{
    return RunQuery(QStringLiteral("select * from scientific_wl_vw where 1=0"));
}

int ScientificDetails::FindViewIndex(const QString& code) const
{
    return bryx::FindViewIndex(m_colViews.get(), code);
}

} // namespace bryx
