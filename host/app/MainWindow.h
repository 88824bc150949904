#pragma once

#include "ChecklistTransfer.h"
#include "CurationActions.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace bryx {
class ComponentLibrary;
class UserControl;
class Recordset;
class SpellingService;
} // namespace bryx

namespace bryx::host {

class ComponentWindow;
class ReferenceWindow;
class HostWindowManager;
class SqlAppManager;
class WorkingList;
class WorkingListView;

// The main window of bryx-host: the user's working list of scientific names, and a child
// window per component opened from it. The library is loaded at run time and components are
// created by ProgID; the active component's menus take the place of the host's own.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(std::shared_ptr<SqlAppManager> appManager, const QString& libraryPath,
               QWidget* parent = nullptr);
    ~MainWindow() override;

    // Opens (or brings forward) the Find Scientific Name window.
    ComponentWindow* openSearch();
    // Opens a list view by its working-list code; only "SNM" belongs to this application.
    void openView(const QString& code);
    WorkingListView& workingList() const { return *m_listView; }
    QMdiArea& mdiArea() const { return *m_mdi; }
    QList<ComponentWindow*> componentWindows() const;
    // Appends a stored name to the working list (nothing when it is there already); false
    // when no name has that ID.
    bool addToWorkingList(int32_t id);
    // Opens a details window on a name of the working list, as a double-click does; null when
    // the window could not be opened (the user has been told why).
    ComponentWindow* openDetailsFromWorkingList(int32_t id);
    // Copies a stored name under a name the user types, and opens the copy in a details
    // window over the working list, which it joins; null when the user cancelled.
    ComponentWindow* copyName(int32_t id);
    // The reference window on a reference, paging through `references` (all references when
    // none are given); the first one when the list does not hold that ID.
    ReferenceWindow* openReference(int32_t id, std::shared_ptr<Recordset> references);
    // File > Import Checklist... and Export Checklist...
    ChecklistTransfer& checklists() const { return *m_checklists; }
    // Find Duplicate Names, Name History and Recently Deleted Names.
    CurationActions& curation() const { return *m_curation; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void showMenusFor(QMdiSubWindow* active);
    ComponentWindow* addComponentWindow(const QString& progId);
    void componentEvent(ComponentWindow& window, const QString& name, const QVariantList& arguments);
    ComponentWindow* openDetails(int32_t recordId, const QString& extraInfo,
                                 std::shared_ptr<Recordset>* records);
    void newDetails(const QString& extraInfo);
    // The working-list code of a view by its position in the views collection.
    QString viewCode(int32_t viewId) const;
    // A details window with the editor started on a list it pages through, then given what to
    // show; shown when `show` answers true, gone (null) when it answers false or fails.
    ComponentWindow* runDetailsWindow(std::shared_ptr<Recordset> list, const QString& extraInfo,
                                      const std::function<bool(UserControl&)>& show);
    // From the working list and from every list a details window was handed.
    void removeFromHandedLists(int32_t id);
    CurationActions::Callbacks curationCallbacks();
    void notifyDetailsWindows(const QString& event);
    void restoreGeometryFromSettings();

    std::shared_ptr<SqlAppManager> m_appManager;
    std::unique_ptr<SpellingService> m_previousSpelling;
    std::unique_ptr<ComponentLibrary> m_library;
    std::unique_ptr<ChecklistTransfer> m_checklists;
    std::shared_ptr<HostWindowManager> m_winMan;
    std::unique_ptr<WorkingList> m_workingList;
    QMdiArea* m_mdi;
    WorkingListView* m_listView;
    QMdiSubWindow* m_listWindow;
    QPointer<ComponentWindow> m_search;
    QList<QMenu*> m_hostMenus; // File, Edit, View, Window, Help
    QMenu* m_viewMenu = nullptr;
    QMenu* m_windowMenu = nullptr;
    QMenu* m_hostHelpMenu = nullptr;
    QMenu* m_hostToolsMenu = nullptr;
    CurationActions* m_curation = nullptr; // a child of the window
    // The host's File and Tools, and the active component's menu of that caption while it
    // carries the host's items after a separator.
    struct MergedMenu {
        QMenu* host;
        QPointer<QMenu> into;
        QAction* separator;
    };
    std::vector<MergedMenu> m_merges;
};

} // namespace bryx::host
