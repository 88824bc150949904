#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMdiArea;
class QWidget;

namespace bryx::host {

class DeletedNamesDialog;
class DuplicateNamesWindow;
class NameHistoryDialog;
class SqlAppManager;

// The curation items of the main window's menus - Tools > Find Duplicate Names, View > Name
// History, File > Recently Deleted Names - and the windows they open. What the windows change
// goes back to the main window through the callbacks, which keep its lists in step.
class CurationActions : public QObject {
    Q_OBJECT
public:
    struct Callbacks {
        // The name of the active details window, else of the working list's selected row; 0 for none.
        std::function<int32_t()> currentNameId;
        std::function<void(int32_t id)> openName;
        std::function<void(const std::vector<int32_t>& merged, int32_t kept)> merged;
        // A name was changed or brought back by a restore.
        std::function<void(int32_t id)> restored;
    };
    CurationActions(std::shared_ptr<SqlAppManager> appManager, QMdiArea& mdi, QWidget& window,
                    Callbacks callbacks);

    QAction& findDuplicatesAction() const { return *m_findDuplicates; }
    QAction& nameHistoryAction() const { return *m_nameHistory; }
    QAction& deletedNamesAction() const { return *m_deletedNames; }

    // Opens (or brings forward) the duplicates window.
    DuplicateNamesWindow* openDuplicates();
    // The history of the current name; null (the user told why) when there is none.
    NameHistoryDialog* showNameHistory();
    DeletedNamesDialog* showDeletedNames();

private:
    std::shared_ptr<SqlAppManager> m_appManager;
    QMdiArea& m_mdi;
    QWidget& m_window;
    Callbacks m_callbacks;
    QAction* m_findDuplicates;
    QAction* m_nameHistory;
    QAction* m_deletedNames;
    QPointer<DuplicateNamesWindow> m_duplicates;
};

} // namespace bryx::host
