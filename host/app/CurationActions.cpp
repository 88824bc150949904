#include "CurationActions.h"

#include "DeletedNamesDialog.h"
#include "DuplicateNamesWindow.h"
#include "NameHistoryDialog.h"
#include "hosting/ErrorReport.h"
#include "services/MessageBox.h"
#include "services/SqlAppManager.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace bryx::host {

CurationActions::CurationActions(std::shared_ptr<SqlAppManager> appManager, QMdiArea& mdi, QWidget& window,
                                 Callbacks callbacks)
    : QObject(&window)
    , m_appManager(std::move(appManager))
    , m_mdi(mdi)
    , m_window(window)
    , m_callbacks(std::move(callbacks))
    , m_findDuplicates(new QAction(tr("Find &Duplicate Names..."), this))
    , m_nameHistory(new QAction(tr("Name &History..."), this))
    , m_deletedNames(new QAction(tr("Recently &Deleted Names..."), this))
{
    m_findDuplicates->setObjectName(QStringLiteral("mnuToolsFindDuplicates"));
    m_nameHistory->setObjectName(QStringLiteral("mnuViewNameHistory"));
    m_deletedNames->setObjectName(QStringLiteral("mnuFileDeletedNames"));
    // Reading the trail is everyone's; bringing names back is for those who may add names.
    m_deletedNames->setEnabled(m_appManager->user().maySave && m_appManager->user().mayCreate);
    connect(m_findDuplicates, &QAction::triggered, this,
            [this] { runHandler("mnuToolsFindDuplicates", [this] { openDuplicates(); }); });
    connect(m_nameHistory, &QAction::triggered, this,
            [this] { runHandler("mnuViewNameHistory", [this] { showNameHistory(); }); });
    connect(m_deletedNames, &QAction::triggered, this,
            [this] { runHandler("mnuFileDeletedNames", [this] { showDeletedNames(); }); });
}

DuplicateNamesWindow* CurationActions::openDuplicates()
{
    if (!m_duplicates) {
        m_duplicates = new DuplicateNamesWindow(m_appManager, {m_callbacks.openName, m_callbacks.merged});
        QMdiSubWindow* frame = m_mdi.addSubWindow(m_duplicates);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->resize(m_duplicates->size());
    }
    m_duplicates->parentWidget()->show();
    m_mdi.setActiveSubWindow(qobject_cast<QMdiSubWindow*>(m_duplicates->parentWidget()));
    return m_duplicates;
}

NameHistoryDialog* CurationActions::showNameHistory()
{
    const int32_t id = m_callbacks.currentNameId ? m_callbacks.currentNameId() : 0;
    if (id == 0) {
        MsgBox(tr("Choose a name in the working list, or open it in a details window, first."),
               MsgBoxStyle::OKOnly | MsgBoxStyle::Information, tr("Name History"));
        return nullptr;
    }
    auto* dialog = new NameHistoryDialog(
        m_appManager, id, [this, id] { m_callbacks.restored(id); }, &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

DeletedNamesDialog* CurationActions::showDeletedNames()
{
    auto* dialog = new DeletedNamesDialog(m_appManager, m_callbacks.restored, &m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

} // namespace bryx::host
