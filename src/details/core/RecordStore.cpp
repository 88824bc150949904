#include "RecordStore.h"

#include "BusyPicture.h"
#include "DetailsSession.h"
#include "DetailsUi.h"
#include "RecordPages.h"
#include "common/BusyPointer.h"
#include "common/SqlText.h"
#include "contracts/AppManager.h"
#include "contracts/ScientificNameRecord.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "error/Error.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/MessageBox.h"
#include "util/RS_Functions.h"

#include <optional>

namespace bryx {

QString RecordStore::DuplicateNameSQL(QString& name, QString& author, int32_t recordId)
{
    name = doubledQuotes(name).toUpper();
    author = doubledQuotes(author);
    QString sql =
        QStringLiteral("select scientific_name_id from scientific_name where upper(scientific_name)='") + name
        + QStringLiteral("' and not scientific_name_id=") + QString::number(recordId);
    if (!author.isEmpty())
        sql += QStringLiteral(" and upper(author_name)='") + author.toUpper() + QLatin1Char('\'');
    else
        sql += QStringLiteral(" and author_name is null");
    return sql;
}

void RecordStore::IsDuplicateName(QString& name, QString& author, bool& found)
{
    QString sql = DuplicateNameSQL(name, author, m_session.lngID);
    found = m_session.objAppManager->CallGetQueryRSXML(sql)->RecordCount() > 0;
}

void RecordStore::HasChildChanges(bool& changed)
{
    changed = m_session.changedReferences;
    if (changed)
        return;
    const auto links = m_session.objRecord->ReferenceLinks();
    for (int index = 1; index <= links->Count() && !changed; ++index) {
        const auto link = links->Item(index);
        changed = link->IsNew() || link->IsChanged();
    }
}

bool RecordStore::HasPendingChanges()
{
    ScientificNameRecord& record = *m_session.objRecord;
    if (record.IsNew() || record.IsChanged(0))
        return true;
    bool childChanges = false;
    HasChildChanges(childChanges);
    return childChanges || m_session.recordExtension->IsChanged();
}

bool RecordStore::CanClose()
{
    DetailsSession& d = m_session;
    if (!d.objAppManager)
        return true;
    if (d.objAppManager->GetControlAccess(QLatin1String(DetailsSession::ComponentName),
                                          QStringLiteral("mnuFileSave"))
        != QLatin1String("F")) {
        d.changedReferences = false;
        return true;
    }
    if (d.blnDeleted) {
        d.blnDeleted = false;
        return true;
    }
    if (!d.objRecord)
        return true;
    bool cancel = false;
    if (d.tabLoaded[0])
        m_pages.ctrScientificName_Validate(cancel);
    bool answer = true;
    if (HasPendingChanges()) {
        const int button = d.DisplayMessage(QStringLiteral("SNM001"), QString());
        if (button == MsgBoxResult::Cancel)
            answer = false;
        else if (button == MsgBoxResult::Yes)
            answer = SaveRecord();
    }
    if (answer)
        d.changedReferences = false;
    return answer;
}

bool RecordStore::SaveRecord()
{
    DetailsSession& d = m_session;
    bool result = false;
    BusyPictureScope picture(m_busy, BusyPicture::Saving);
    std::optional<BusyPointer> pointer;
    try {
        if (!d.objRecord)
            return false;
        if (HasPendingChanges()) {
            QString name = d.objRecord->ScientificName();
            QString author = d.objRecord->AuthorName();
            bool duplicate = false;
            IsDuplicateName(name, author, duplicate);
            if (duplicate) {
                d.DisplayMessage(d.nameType == NameTypeCode::Ecological ? QStringLiteral("SNM009")
                                                                        : QStringLiteral("SNM008"),
                                 QString());
                return false;
            }
            pointer.emplace();
            if (!storeRecord())
                return false;
            result = true;
        }
        if (result && d.recordExtension->IsChanged()) {
            if (d.recordExtension->Save(d.lngID, d.component(), QLatin1String(DetailsSession::ComponentName),
                                        d.controls()))
                d.recordExtension->AcceptSaved();
            else
                result = false;
        }
    } catch (const std::exception& error) {
        // The message comes first; the busy picture and the pointer go as the save ends.
        d.DisplayMessage(QStringLiteral("SNM004"), Error::from(error).Description());
        result = false;
    }
    return result;
}

bool RecordStore::storeRecord()
{
    DetailsSession& d = m_session;
    ScientificNameRecord& record = *d.objRecord;
    int32_t id = d.lngID;
    if (!d.objAppManager->CheckPermission(id))
        return false;
    record.SetModifiedBy(d.strUserName);
    if (!record.Save())
        return false;
    d.changedReferences = false;
    (void)record.IsChanged(0);
    const auto links = record.ReferenceLinks();
    for (int index = 1; index <= links->Count(); ++index)
        links->Item(index)->Save();
    m_events.raiseUpdateList(d.lngID);
    if (d.rsList && d.rsList != d.rsOriginal)
        updateOwnListRow();
    m_ui.lblNewRecord->setVisible(false);
    return true;
}

void RecordStore::updateOwnListRow()
{
    // The host does not know this list, so the editor keeps its row itself (in memory only).
    DetailsSession& d = m_session;
    Recordset& list = *d.rsList;
    if (!RS_Functions::FindByID(list, d.lngID))
        list.AddNew();
    list.Fields(QStringLiteral("ID")).SetValue(d.lngID);
    list.Fields(QStringLiteral("Scientific_Name")).SetValue(d.objRecord->ScientificName());
    list.Fields(QStringLiteral("Author")).SetValue(d.objRecord->AuthorName());
    list.Fields(QStringLiteral("Category")).SetValue(m_ui.cboCategory->Text());
    list.Fields(QStringLiteral("Classification_Level")).SetValue(m_ui.cboClassificationLevel->Text());
    list.Update();
}

bool RecordStore::DeleteRecord(int32_t& id)
{
    DetailsSession& d = m_session;
    // Outside the trap, so that a failure's message is shown before they go.
    std::optional<BusyPictureScope> picture;
    std::optional<BusyPointer> pointer;
    try {
        if (d.DisplayMessage(QStringLiteral("SNM002"), QString()) != MsgBoxResult::Yes)
            return false;
        picture.emplace(m_busy, BusyPicture::Deleting);
        pointer.emplace();
        d.blnDeleted = true;
        // Any way out that did not delete leaves the record as it was.
        struct UndoDeletedFlag {
            DetailsSession& details;
            bool armed = true;
            ~UndoDeletedFlag()
            {
                if (armed)
                    details.blnDeleted = false;
            }
        } undo {d};
        if (!d.objAppManager->CheckPermission(id))
            return false;
        QString userName = d.strUserName;
        if (!d.objAppManager->Delete(QStringLiteral("delete_table_data"), id, userName,
                                     QStringLiteral("scientific_name")))
            return false;
        m_events.raiseRemoveItem(id);
        if (d.rsList && d.rsList != d.rsOriginal && !d.rsList->IsEOF() && !d.rsList->IsBOF()) {
            d.rsList->Delete();
            d.rsList->UpdateBatch();
        }
        if (d.rsList && d.rsList->RecordCount() > 0) {
            showFollowingRecord();
            return true;
        }
        // Nothing left to show: the window goes, and the following CanClose lets it.
        undo.armed = false;
        m_events.raiseQuit();
        picture->keepShown();
        return true;
    } catch (const std::exception& error) {
        d.blnDeleted = false;
        d.DisplayMessage(QStringLiteral("SNM003"), Error::from(error).Description());
        return false;
    }
}

void RecordStore::showFollowingRecord()
{
    // The name is gone by now: a failure here is a failed move, not a failed delete.
    try {
        m_pages.ShowRecordAtShownPosition();
    } catch (const std::exception& error) {
        m_session.DisplayMessage(QStringLiteral("APP008"), Error::from(error).Description());
    }
}

} // namespace bryx
