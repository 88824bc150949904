#include "DetailsLauncher.h"

#include "SearchSession.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/WindowManager.h"
#include "controls/FlexGrid.h"
#include "dialogs/frmModalDetail.h"
#include "dialogs/frmSelectScientificNameType.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "util/RS_Functions.h"

namespace bryx {

void DetailsLauncher::OpenDetails(const FlexGrid& results, int row)
{
    const int32_t id = results.TextMatrix(row, 0).toInt();
    if (!m_session.objWinMan) {
        frmModalDetail details(m_session.window());
        if (!details.InitDialog(QLatin1String(registration::DetailsProgId), m_session.objAppManager,
                                QString()))
            return; // the dialog has said why
        details.SetIcon(m_session.hostWindow()->Icon());
        details.LoadData(id);
        details.ShowModal();
        details.Unload();
        return;
    }
    const BusyPointer busy;
    std::shared_ptr<Recordset> single;
    RS_Functions::CopyCurrentRow(results, *m_session.rsResults, single);
    const int view = m_session.FindWorkingListView(QStringLiteral("SNM"));
    m_session.objWinMan->OpenDetails(view, view, id, QStringLiteral("SINGLE_RECORD_VIEW"), &single);
}

QString DetailsLauncher::ChooseNewNameType()
{
    frmSelectScientificNameType chooser(m_session.window());
    chooser.SetIcon(m_session.hostWindow()->Icon());
    chooser.ShowModal();
    return chooser.Canceled() ? QString() : chooser.ChosenTypeCaption();
}

std::shared_ptr<Recordset> DetailsLauncher::CreateNewName(const QString& typeCaption)
{
    if (m_session.objWinMan) {
        m_session.objWinMan->NewDetails(m_session.lngView, m_session.lngView, typeCaption, nullptr);
        return nullptr;
    }
    frmModalDetail details(m_session.window());
    if (!details.InitDialog(QLatin1String(registration::DetailsProgId), m_session.objAppManager, typeCaption))
        return nullptr; // the dialog has said why
    details.SetIcon(m_session.hostWindow()->Icon());
    const int32_t id = details.NewData(0);
    details.ShowModal();
    auto row = GetSearchRowByID(id);
    details.Unload();
    return row && row->RecordCount() == 1 ? row : nullptr;
}

std::shared_ptr<Recordset> DetailsLauncher::GetSearchRowByID(int32_t id)
{
    QString statement = QStringLiteral("SELECT * FROM SCIENTIFIC_SRCH_VW WHERE ID=") + QString::number(id);
    return m_session.objAppManager->CallGetQueryRSXML(statement);
}

} // namespace bryx
