#include "WorkingList.h"

#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"
#include "util/RS_Functions.h"

namespace bryx::host {

WorkingList::WorkingList(std::shared_ptr<SqlAppManager> appManager)
    : m_appManager(std::move(appManager))
    , m_records(m_appManager->GetPrototypeRSForView(QStringLiteral("SNM")))
{
}

WorkingList::Added WorkingList::add(int32_t id)
{
    if (RS_Functions::FindByID(*m_records, id))
        return Added::AlreadyThere;
    const auto row = storedRow(id);
    if (row->RecordCount() == 0)
        return Added::NoSuchName;
    m_records->AddNew();
    copyFields(*row, *m_records);
    return Added::Added;
}

bool WorkingList::refresh(int32_t id)
{
    if (!RS_Functions::FindByID(*m_records, id))
        return false;
    const auto row = storedRow(id);
    if (row->RecordCount() > 0)
        copyFields(*row, *m_records);
    return true;
}

bool WorkingList::remove(Recordset& list, int32_t id)
{
    if (!RS_Functions::FindByID(list, id))
        return false;
    list.Delete();
    list.UpdateBatch();
    return true;
}

std::shared_ptr<Recordset> WorkingList::storedRow(int32_t id)
{
    QString sql = QStringLiteral("select * from scientific_wl_vw where id=%1").arg(id);
    return m_appManager->CallGetQueryRSXML(sql);
}

void WorkingList::copyFields(Recordset& from, Recordset& to)
{
    from.MoveFirst();
    for (int field = 0; field < from.FieldCount(); ++field) {
        if (Field* target = to.FindField(from.Fields(field).Name()))
            target->SetValue(from.Fields(field).Value());
    }
    to.Update();
}

} // namespace bryx::host
