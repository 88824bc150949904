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
#include "util/RS_Functions.h"

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
    , m_session(*this)
    , m_ui(std::make_unique<DetailsUi>())
{
    registerHostTypes();
    setObjectName(QLatin1String(ComponentName));
    m_ui->setupUi(*this);
    DetailsSession& session = m_session;
    DetailsUi& ui = *m_ui;
    DetailsEvents& events = *this;
    m_busy = std::make_unique<BusyPicture>(ui);
    m_pages = std::make_unique<RecordPages>(session, ui, *m_busy);
    m_store = std::make_unique<RecordStore>(session, ui, *m_busy, events, *m_pages);
    m_navigation = std::make_unique<RecordNavigation>(session, ui, *m_pages, *m_store);
    m_copies =
        std::make_unique<RecordCopies>(session, ui, *m_busy, events, *m_store, *m_pages, *m_navigation);
    m_established = std::make_unique<EstablishedName>(session, ui);
    m_references = std::make_unique<ReferencesPage>(session, ui, *m_pages);
    m_maintenance = std::make_unique<MaintenanceWindows>(session, *m_established);
    m_textTools = std::make_unique<TextTools>(session, ui, *m_navigation);
    connectHandlers();
    connectMenus();
    setSizeTwips(DesignWidth, DesignHeight);
}

ScientificDetails::~ScientificDetails()
{
    // Bindings point at this editor's controls: they go before the controls do.
    m_session.release();
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
            if (m_session.objRecord)
                m_pages->TabChange(m_ui->tabScientificName->Tab());
        });
    });
    connect(ui.cboCategory, &DataCombo::Change, this,
            [this] { runHandler("cboCategory_Change", [this] { m_pages->cboCategory_Change(); }); });
    connect(ui.ctrScientificName, &RichTextBox::Validate, this, [this](bool& cancel) {
        runHandler("ctrScientificName_Validate", [&] {
            if (m_session.tabLoaded[0])
                m_pages->ctrScientificName_Validate(cancel);
        });
    });
    // The summary strip follows the author once the box is left, when its binding has
    // written what was typed to the record.
    connect(ui.ctrAuthor, &RichTextBox::Validate, this, [this](bool&) {
        runHandler("ctrAuthor_Validate", [this] {
            if (m_session.objRecord && !m_session.blnLoading)
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
    // report.
    auto menuItem = [this](MenuItem* item, const char* name, std::function<void()> handler) {
        onMenuItem(*this, item, name, std::move(handler));
    };
    auto guarded = [this](MenuItem* item, const char* name, std::function<void()> handler) {
        onEnabledMenuItem(*this, item, name, std::move(handler));
    };
    menuItem(ui.mnuFileSave, "mnuFileSave_Click", [this] {
        if (!m_ui->mnuFileSave->isEnabled() || !m_ui->mnuFileSave->isVisible())
            return;
        // Ctrl+S leaves the focus in the name box: what was typed there reaches the record
        // first, as it does when the focus moves on.
        bool cancel = false;
        if (m_session.tabLoaded[0] && m_session.objRecord)
            m_pages->ctrScientificName_Validate(cancel);
        if (!cancel)
            m_store->SaveRecord();
    });
    guarded(ui.mnuFileClose, "mnuFileClose_Click", [this] { emit Quit(); });
    guarded(ui.mnuEditDelete, "mnuEditDelete_Click", [this] {
        int32_t id = m_session.lngID;
        m_store->DeleteRecord(id);
    });
    onEditMenuItems(*this, ui.mnuEditCut, ui.mnuEditCopy, ui.mnuEditPaste,
                    [this] { return ActiveControl(); });
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
        if (m_session.objAppManager)
            m_session.objAppManager->ShowAbout();
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

// --- Start-up -------------------------------------------------------------------------------

int32_t ScientificDetails::NameTypeFromExtraInfo(const QString& extraInfo)
{
    if (extraInfo == QLatin1String("Zoological..."))
        return NameTypeCode::Zoological;
    if (extraInfo == QLatin1String("Ecological..."))
        return NameTypeCode::Ecological;
    return NameTypeCode::Botanical;
}

void ScientificDetails::startRecordExtension()
{
    m_session.dataFramework = CreateObject<DataFramework>(QLatin1String(DataFrameworkProgId));
    m_session.recordExtension = m_session.dataFramework->CreateRecordExtension();
    m_session.recordExtension->Initialize(m_session.lngUserID, m_session.objAppManager);
    m_session.recordExtension->Attach(*this, QLatin1String(ComponentName), controlsCollection());
}

QVariant ScientificDetails::InitDetails(std::shared_ptr<Recordset>& rsView,
                                        std::shared_ptr<AppManager> objAppManager, int lngViewID,
                                        std::shared_ptr<WindowManager> objWinMan,
                                        std::shared_ptr<Collection>& colViews, QString ExtraInfo)
{
    m_session.start(std::move(objAppManager), "InitDetails");
    m_session.rsOriginal = rsView;
    m_session.rsList = rsView;
    m_session.readHostIdentity();
    m_session.objWinMan = std::move(objWinMan);
    m_session.colViews = colViews;
    m_session.lngViewID = lngViewID;
    m_session.strExtraInfo = ExtraInfo;
    m_session.blnInTabChange = false;
    m_session.modal = false;
    startRecordExtension();
    m_session.applySecurity();
    m_session.nameType = NameTypeFromExtraInfo(ExtraInfo);
    return {};
}

void ScientificDetails::InitModalDetails(std::shared_ptr<AppManager> objAppManager, QString strExtraInfo)
{
    m_session.start(std::move(objAppManager), "InitModalDetails");
    m_session.blnInTabChange = false;
    m_session.rsOriginal.reset();
    m_session.rsList.reset();
    m_session.objWinMan.reset();
    m_session.readHostIdentity();
    if (const auto views = m_session.objAppManager->ViewManager())
        m_session.colViews = views->colViews();
    m_session.modal = true;
    startRecordExtension();
    m_session.applySecurity();
    disableForModalUse();
    m_session.nameType = NameTypeFromExtraInfo(strExtraInfo);
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
    if (m_session.objRecord)
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
    return m_store->CanClose();
}

void ScientificDetails::NotifyListChanges(QString)
{
    if (!m_session.rsList || m_session.blnDeleted)
        return;
    BusyPointer busy;
    Recordset& list = *m_session.rsList;
    if (m_session.rsList == m_session.rsOriginal) {
        if (!RS_Functions::FindByID(list, m_session.lngID)) {
            m_ui->txtCurrentRecord->setText(QStringLiteral("1"));
            m_ui->lblTotalRecords->setText(QStringLiteral("1"));
        } else {
            m_ui->lblTotalRecords->setText(QString::number(list.RecordCount()));
            m_ui->txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
        }
        return;
    }
    if (m_session.RecordExists(m_session.lngID))
        return;
    if (RS_Functions::FindByID(list, m_session.lngID)) {
        list.Delete();
        list.UpdateBatch();
    }
    if (list.RecordCount() == 0) {
        emit Quit();
        return;
    }
    m_pages->ShowRecordAtShownPosition();
}

QObject* ScientificDetails::ActiveControl() const
{
    return m_session.activeControl();
}

int ScientificDetails::DisplayMessage(QString strMessageID, QString strArg1, QString strArg2, QString strArg3)
{
    return m_session.DisplayMessage(strMessageID, strArg1, strArg2, strArg3);
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
        if (m_session.objRecord) {
            m_session.objRecord->UnbindField(QString());
            m_session.objRecord->Release();
        }
    });
    m_session.release();
}

} // namespace bryx
