#include "MainWindow.h"

#include "ComponentWindow.h"
#include "CurationActions.h"
#include "HostWindowManager.h"
#include "ReferenceWindow.h"
#include "WorkingList.h"
#include "WorkingListView.h"
#include "clients/ClientCollection.h"
#include "collection/Collection.h"
#include "controls/FlexGrid.h"
#include "error/Error.h"
#include "hosting/ComponentLibrary.h"
#include "hosting/ErrorReport.h"
#include "hosting/LateBinding.h"
#include "hosting/RegistryFile.h"
#include "hosting/UserControl.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/MessageBox.h"
#include "services/Screen.h"
#include "services/SpellingService.h"
#include "services/SqlAppManager.h"
#include "spelling/HunspellSpellingService.h"
#include "spelling/NameVocabulary.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

namespace bryx::host {

namespace {

const char* const DetailsProgId = registration::DetailsProgId;
const char* const SearchProgId = registration::SearchProgId;

} // namespace

MainWindow::MainWindow(std::shared_ptr<SqlAppManager> appManager, const QString& libraryPath, QWidget* parent)
    : QMainWindow(parent)
    , m_appManager(std::move(appManager))
    , m_library(std::make_unique<ComponentLibrary>(libraryPath))
    , m_checklists(std::make_unique<ChecklistTransfer>(*this, m_appManager))
    , m_workingList(std::make_unique<WorkingList>(m_appManager))
    , m_mdi(new QMdiArea(this))
{
    // Rich-text fields check their spelling against English and the words of the names stored
    // here; the names are read at the first check, not now.
    std::weak_ptr<SqlAppManager> names = m_appManager;
    m_previousSpelling = SpellingService::install(std::make_unique<HunspellSpellingService>([names] {
        const auto manager = names.lock();
        return manager ? NameVocabulary::load(manager->readOnly()) : NameVocabulary();
    }));
    setWindowTitle(tr("BRYX Scientific Names"));
    setObjectName(QStringLiteral("bryxHostMain"));
    // The client components the library reaches by ProgID (option store, references, audit).
    registerClientComponents();
    // A library that is loaded but not registered yet registers itself, as an installer would.
    if (RegistryFile().classIdOf(QLatin1String(SearchProgId)).isEmpty())
        m_library->registerServer();

    m_winMan = std::make_shared<HostWindowManager>(
        [this](int32_t viewId, int32_t recordId, const QString& extraInfo,
               std::shared_ptr<Recordset>* records) {
            // Only the scientific names' view opens here; the others belong to other modules.
            const QString code = viewCode(viewId);
            if (code == QLatin1String("REF")) {
                openReference(recordId, records ? *records : nullptr);
                return;
            }
            if (code != QLatin1String("SNM")) {
                openView(code);
                return;
            }
            openDetails(recordId, extraInfo, records);
        },
        [this](int32_t viewId, const QString& extraInfo, int32_t*) {
            const QString code = viewCode(viewId);
            if (code != QLatin1String("SNM")) {
                MsgBox(tr("New \"%1\" records are made in another module of the application; it is not part "
                          "of this application.")
                           .arg(code),
                       MsgBoxStyle::Information, windowTitle());
                return;
            }
            newDetails(extraInfo);
        });

    m_mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdi);
    m_listView = new WorkingListView(m_workingList->records());
    m_listWindow = m_mdi->addSubWindow(m_listView);
    m_listWindow->setWindowTitle(tr("Scientific Names"));
    // Closing the working list only hides it; View > Scientific Names brings it back.
    m_listWindow->resize(520, 420);
    m_listWindow->show();
    connect(m_listView, &WorkingListView::openRequested, this, [this](int32_t id) {
        runHandler("WorkingList_DblClick", [&] { openDetailsFromWorkingList(id); });
    });

    m_curation = new CurationActions(m_appManager, *m_mdi, *this, curationCallbacks());
    buildMenus();
    connect(m_mdi, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* active) { showMenusFor(active); });
    statusBar()->showMessage(
        tr("User %1 on %2").arg(m_appManager->GetUserName(), m_appManager->GetServerName()));
    restoreGeometryFromSettings();
}

MainWindow::~MainWindow()
{
    // Component windows go before the library that made their components.
    for (QMdiSubWindow* window : m_mdi->subWindowList())
        delete window;
    SpellingService::install(std::move(m_previousSpelling));
}

void MainWindow::buildMenus()
{
    QMenu* file = new QMenu(tr("&File"), this);
    QAction* find = file->addAction(tr("&Find Scientific Name..."), this,
                                    [this] { runHandler("mnuFileFind", [this] { openSearch(); }); });
    find->setShortcut(QKeySequence::Find);
    file->addSeparator();
    file->addAction(
            tr("&Import Checklist..."), this,
            [this] { runHandler("mnuFileImportChecklist", [this] { m_checklists->importChecklist(); }); })
        ->setObjectName(QStringLiteral("mnuFileImportChecklist"));
    file->addAction(
            tr("&Export Checklist..."), this,
            [this] { runHandler("mnuFileExportChecklist", [this] { m_checklists->exportChecklist(); }); })
        ->setObjectName(QStringLiteral("mnuFileExportChecklist"));
    file->addSeparator();
    file->addAction(&m_curation->deletedNamesAction());
    file->addSeparator();
    file->addAction(tr("E&xit"), this, &QWidget::close);
    QMenu* edit = new QMenu(tr("&Edit"), this);
    edit->addAction(tr("&Copy"), this, [] { DesktopServices::current().sendKeys(QStringLiteral("^C")); });
    edit->addAction(tr("Copy Scientific &Name..."), this, [this] {
        runHandler("mnuEditCopyName", [this] {
            if (const int32_t id = m_listView->currentId())
                copyName(id);
            else
                MsgBox(tr("Choose the name to copy in the working list first."), MsgBoxStyle::Information,
                       windowTitle());
        });
    });
    m_viewMenu = new QMenu(tr("&View"), this);
    const std::pair<const char*, QString> views[] = {{"SNM", tr("&Scientific Names")},
                                                     {"REF", tr("&References")},
                                                     {"ELE", tr("&Elements")},
                                                     {"ETK", tr("Element &Tracking")}};
    for (const auto& [code, caption] : views) {
        const QString viewCode = QLatin1String(code);
        m_viewMenu->addAction(caption, this,
                              [this, viewCode] { runHandler("mnuView", [&] { openView(viewCode); }); });
    }
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(&m_curation->nameHistoryAction());
    m_hostToolsMenu = new QMenu(tr("&Tools"), this);
    m_hostToolsMenu->addAction(&m_curation->findDuplicatesAction());
    m_windowMenu = new QMenu(tr("&Window"), this);
    connect(m_windowMenu, &QMenu::aboutToShow, this, [this] {
        m_windowMenu->clear();
        m_windowMenu->addAction(tr("&Cascade"), m_mdi, &QMdiArea::cascadeSubWindows);
        m_windowMenu->addAction(tr("&Tile"), m_mdi, &QMdiArea::tileSubWindows);
        m_windowMenu->addSeparator();
        for (QMdiSubWindow* window : m_mdi->subWindowList()) {
            QAction* item = m_windowMenu->addAction(window->windowTitle(), this, [this, window] {
                window->show();
                m_mdi->setActiveSubWindow(window);
            });
            item->setCheckable(true);
            item->setChecked(window == m_mdi->activeSubWindow());
        }
    });
    QMenu* help = new QMenu(tr("&Help"), this);
    QAction* topics = help->addAction(tr("&Help Topics"), this, [this] {
        runHandler("mnuHelp", [this] { DesktopServices::current().showHelp(m_appManager->HelpFile(), 0); });
    });
    topics->setShortcut(Qt::Key_F1);
    help->addAction(tr("&About..."), this,
                    [this] { runHandler("mnuHelpAbout", [this] { m_appManager->ShowAbout(); }); });
    m_hostMenus = {file, edit, m_hostToolsMenu, m_viewMenu, m_windowMenu, help};
    m_hostHelpMenu = help;
    for (QMenu* hostMenu : {file, m_hostToolsMenu}) {
        auto* separator = new QAction(this);
        separator->setSeparator(true);
        m_merges.push_back({hostMenu, nullptr, separator});
    }

    QToolBar* tools = addToolBar(tr("Main"));
    tools->setObjectName(QStringLiteral("tbMain"));
    tools->setMovable(false);
    tools->addAction(find);
    tools->addAction(tr("Working List"), this, [this] { openView(QStringLiteral("SNM")); });
    showMenusFor(nullptr);
}

void MainWindow::showMenusFor(QMdiSubWindow* active)
{
    menuBar()->clear();
    for (MergedMenu& merge : m_merges) {
        if (merge.into) {
            merge.into->removeAction(merge.separator);
            for (QAction* item : merge.host->actions())
                merge.into->removeAction(item);
        }
        merge.into = nullptr;
    }
    auto* component = qobject_cast<ComponentWindow*>(active);
    const QList<QMenu*> componentMenus =
        component && component->component() ? component->component()->Menus() : QList<QMenu*>();
    if (componentMenus.isEmpty()) {
        for (QMenu* menu : std::as_const(m_hostMenus))
            menuBar()->addMenu(menu);
        return;
    }
    // The component's menus stand in for the host's File, Edit and Help, in the component's
    // order, except that Help stays last as on every desktop. The host's own File and Tools items
    // follow the component's under a separator (a component without Tools gets the host's), and
    // View and Window stay, so the user can always reach the import, the curation tools, the
    // working list and the other windows.
    QMenu* help = m_hostHelpMenu;
    for (QMenu* menu : componentMenus) {
        const QString caption = QString(menu->title()).remove(QLatin1Char('&'));
        if (caption == QLatin1String("Help")) {
            help = menu;
            continue;
        }
        for (MergedMenu& merge : m_merges) {
            if (!merge.into && caption == QString(merge.host->title()).remove(QLatin1Char('&'))) {
                merge.into = menu;
                menu->addAction(merge.separator);
                menu->addActions(merge.host->actions());
            }
        }
        menuBar()->addMenu(menu);
    }
    if (!m_merges.back().into)
        menuBar()->addMenu(m_hostToolsMenu);
    menuBar()->addMenu(m_viewMenu);
    menuBar()->addMenu(m_windowMenu);
    menuBar()->addMenu(help);
}

ComponentWindow* MainWindow::addComponentWindow(const QString& progId)
{
    UserControl* component = m_library->create(progId, nullptr, RegistryFile::defaultPath());
    auto* window =
        new ComponentWindow(component, m_appManager, [this](bool redraw) { m_listView->setRedraw(redraw); });
    window->setWindowIcon(windowIcon());
    window->setEventHandler([this, window](const QString& name, const QVariantList& arguments) {
        componentEvent(*window, name, arguments);
    });
    m_mdi->addSubWindow(window);
    return window;
}

ComponentWindow* MainWindow::openSearch()
{
    if (m_search && !m_search->isClosed()) {
        m_mdi->setActiveSubWindow(m_search);
        return m_search;
    }
    ComponentWindow* window = addComponentWindow(QLatin1String(SearchProgId));
    m_search = window;
    auto rsView = m_workingList->records();
    auto views = m_appManager->ViewManager()->colViews();
    QVariantList arguments {QVariant::fromValue(rsView),
                            QVariant::fromValue(std::shared_ptr<AppManager>(m_appManager)),
                            1,
                            QVariant::fromValue(std::shared_ptr<WindowManager>(m_winMan)),
                            QVariant::fromValue(views),
                            QString()};
    try {
        CallByName(*window->component(), QStringLiteral("InitSearch"), arguments);
    } catch (...) {
        delete window;
        throw;
    }
    window->show();
    m_mdi->setActiveSubWindow(window);
    return window;
}

void MainWindow::openView(const QString& code)
{
    if (code == QLatin1String("SNM")) {
        m_listWindow->show();
        m_mdi->setActiveSubWindow(m_listWindow);
        return;
    }
    if (code == QLatin1String("REF")) {
        openReference(0, nullptr);
        return;
    }
    MsgBox(tr("The \"%1\" list belongs to another module of the application; it is not part of this "
              "application.")
               .arg(code),
           MsgBoxStyle::Information, windowTitle());
}

void MainWindow::componentEvent(ComponentWindow& window, const QString& name, const QVariantList& arguments)
{
    const QString event = name.toLower();
    if (event == QLatin1String("quit")) {
        // The window goes once the component's own handler has returned.
        QMetaObject::invokeMethod(&window, &QWidget::close, Qt::QueuedConnection);
    } else if (event == QLatin1String("updatelist")) {
        // A name saved in a window that pages through the working list belongs in it (a new
        // name joins it); elsewhere only a row the list already holds is read again.
        if (!arguments.isEmpty()) {
            const int32_t id = arguments.first().toInt();
            if (!m_workingList->refresh(id) && window.handedList() == m_workingList->records())
                addToWorkingList(id);
        }
        m_listView->refresh();
        notifyDetailsWindows(QStringLiteral("UpdateList"));
    } else if (event == QLatin1String("removeitem")) {
        if (!arguments.isEmpty())
            removeFromHandedLists(arguments.first().toInt());
        notifyDetailsWindows(QStringLiteral("RemoveItem"));
    }
}

CurationActions::Callbacks MainWindow::curationCallbacks()
{
    CurationActions::Callbacks callbacks;
    callbacks.currentNameId = [this]() -> int32_t {
        auto* details = qobject_cast<ComponentWindow*>(m_mdi->activeSubWindow());
        if (details && details->component() && HasMember(*details->component(), QStringLiteral("GetID")))
            return CallByName(*details->component(), QStringLiteral("GetID")).toInt();
        return m_listView->currentId();
    };
    callbacks.openName = [this](int32_t id) {
        if (addToWorkingList(id))
            openDetailsFromWorkingList(id);
    };
    callbacks.merged = [this](const std::vector<int32_t>& merged, int32_t kept) {
        for (const int32_t id : merged)
            removeFromHandedLists(id);
        m_workingList->refresh(kept);
        m_listView->refresh();
        notifyDetailsWindows(QStringLiteral("RemoveItem"));
    };
    callbacks.restored = [this](int32_t id) {
        m_workingList->refresh(id);
        m_listView->refresh();
        notifyDetailsWindows(QStringLiteral("UpdateList"));
    };
    return callbacks;
}

void MainWindow::removeFromHandedLists(int32_t id)
{
    std::vector<std::shared_ptr<Recordset>> lists {m_workingList->records()};
    for (ComponentWindow* window : componentWindows()) {
        if (window->handedList()
            && std::find(lists.begin(), lists.end(), window->handedList()) == lists.end())
            lists.push_back(window->handedList());
    }
    for (const auto& list : lists)
        WorkingList::remove(*list, id);
    m_listView->refresh();
}

void MainWindow::notifyDetailsWindows(const QString& event)
{
    for (ComponentWindow* window : componentWindows()) {
        if (window->component() && HasMember(*window->component(), QStringLiteral("NotifyListChanges")))
            CallByName(*window->component(), QStringLiteral("NotifyListChanges"), {event});
    }
}

QList<ComponentWindow*> MainWindow::componentWindows() const
{
    QList<ComponentWindow*> windows;
    for (QMdiSubWindow* window : m_mdi->subWindowList()) {
        if (auto* component = qobject_cast<ComponentWindow*>(window); component && !component->isClosed())
            windows << component;
    }
    return windows;
}

ComponentWindow* MainWindow::openDetails(int32_t recordId, const QString& extraInfo,
                                         std::shared_ptr<Recordset>* records)
{
    return runDetailsWindow(records && *records ? *records : m_workingList->records(), extraInfo,
                            [recordId](UserControl& editor) {
                                CallByName(editor, QStringLiteral("LoadData"), {recordId});
                                return true;
                            });
}

ComponentWindow* MainWindow::runDetailsWindow(std::shared_ptr<Recordset> list, const QString& extraInfo,
                                              const std::function<bool(UserControl&)>& show)
{
    ComponentWindow* window = addComponentWindow(QLatin1String(DetailsProgId));
    window->setHandedList(list);
    auto views = m_appManager->ViewManager()->colViews();
    QVariantList arguments {QVariant::fromValue(list),
                            QVariant::fromValue(std::shared_ptr<AppManager>(m_appManager)),
                            1,
                            QVariant::fromValue(std::shared_ptr<WindowManager>(m_winMan)),
                            QVariant::fromValue(views),
                            extraInfo};
    try {
        CallByName(*window->component(), QStringLiteral("InitDetails"), arguments);
        if (!show(*window->component())) {
            window->discard(); // the editor has said why there is nothing to show
            return nullptr;
        }
    } catch (...) {
        // A window with nothing in it is never left behind.
        window->discard();
        throw;
    }
    window->show();
    m_mdi->setActiveSubWindow(window);
    return window;
}

ReferenceWindow* MainWindow::openReference(int32_t id, std::shared_ptr<Recordset> references)
{
    if (!references) {
        QString sql = QStringLiteral("select * from reference_wl_vw order by Reference_Code");
        references = m_appManager->CallGetQueryRSXML(sql);
    }
    auto* window = new ReferenceWindow(m_appManager, references);
    QMdiSubWindow* frame = m_mdi->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    if (!window->showReference(id) && references->RecordCount() > 0)
        window->showReference(references->Fields(QStringLiteral("ID")).Value().toInt());
    frame->show();
    m_mdi->setActiveSubWindow(frame);
    return window;
}

QString MainWindow::viewCode(int32_t viewId) const
{
    const auto views = m_appManager->ViewManager()->colViews();
    if (viewId < 1 || viewId > views->Count())
        return QStringLiteral("SNM"); // a caller that names no view means the names
    const auto view = Collection::entryOf(views->Item(viewId));
    return view && view->Contains(QStringLiteral("WORKING_LIST_TYPE"))
        ? view->Item(QStringLiteral("WORKING_LIST_TYPE")).toString()
        : QStringLiteral("SNM");
}

ComponentWindow* MainWindow::copyName(int32_t id)
{
    return runDetailsWindow(m_workingList->records(), QString(), [this, id](UserControl& editor) {
        const int32_t copy = CallByName(editor, QStringLiteral("CloneData"), {id}).toInt();
        // Nothing to show when the user cancelled, or the copy was refused (the host said why).
        if (copy == 0 || !addToWorkingList(copy))
            return false;
        CallByName(editor, QStringLiteral("LoadData"), {copy});
        return true;
    });
}

ComponentWindow* MainWindow::openDetailsFromWorkingList(int32_t id)
{
    return openDetails(id, {}, nullptr);
}

bool MainWindow::addToWorkingList(int32_t id)
{
    const WorkingList::Added added = m_workingList->add(id);
    if (added == WorkingList::Added::Added)
        m_listView->refresh();
    return added != WorkingList::Added::NoSuchName;
}

void MainWindow::newDetails(const QString& extraInfo)
{
    runDetailsWindow(m_workingList->records(), extraInfo, [](UserControl& editor) {
        return CallByName(editor, QStringLiteral("NewData"), {0}).toInt() != 0;
    });
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Every component may refuse; the main window stays open then.
    for (ComponentWindow* window : componentWindows()) {
        if (!window->close()) {
            event->ignore();
            return;
        }
    }
    QSettings settings;
    settings.setValue(QStringLiteral("mainWindow/geometry"), saveGeometry());
    settings.setValue(QStringLiteral("mainWindow/state"), saveState());
    QMainWindow::closeEvent(event);
}

void MainWindow::restoreGeometryFromSettings()
{
    const QSettings settings;
    if (!restoreGeometry(settings.value(QStringLiteral("mainWindow/geometry")).toByteArray()))
        resize(1180, 800);
    restoreState(settings.value(QStringLiteral("mainWindow/state")).toByteArray());
}

} // namespace bryx::host
