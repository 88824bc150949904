#include "RecordStore.h"

#include "BusyPicture.h"
#include "DetailsUi.h"
#include "RecordNavigation.h"
#include "ScientificDetails.h"
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
    QString sql = DuplicateNameSQL(name, author, m_details.m_lngID);
    found = m_details.m_objAppManager->CallGetQueryRSXML(sql)->RecordCount() > 0;
}

void RecordStore::HasChildChanges(bool& changed)
{
    changed = m_details.m_changedReferences;
    if (changed)
        return;
    const auto links = m_details.m_objRecord->ReferenceLinks();
    for (int index = 1; index <= links->Count() && !changed; ++index) {
        const auto link = links->Item(index);
        changed = link->IsNew() || link->IsChanged();
    }
}

bool RecordStore::HasPendingChanges()
{
    ScientificNameRecord& record = *m_details.m_objRecord;
    if (record.IsNew() || record.IsChanged(0))
        return true;
    bool childChanges = false;
    HasChildChanges(childChanges);
    return childChanges || m_details.m_recordExtension->IsChanged();
}

bool RecordStore::SaveRecord()
{
    ScientificDetails& d = m_details;
    bool result = false;
    BusyPictureScope picture(*d.m_busy, BusyPicture::Saving);
    std::optional<BusyPointer> pointer;
    try {
        if (!d.m_objRecord)
            return false;
        if (HasPendingChanges()) {
            QString name = d.m_objRecord->ScientificName();
            QString author = d.m_objRecord->AuthorName();
            bool duplicate = false;
            IsDuplicateName(name, author, duplicate);
            if (duplicate) {
                d.DisplayMessage(d.m_nameType == NameTypeCode::Ecological ? QStringLiteral("SNM009")
                                                                          : QStringLiteral("SNM008"),
                                 QString());
                return false;
            }
            pointer.emplace();
            if (!storeRecord())
                return false;
            result = true;
        }
        if (result && d.m_recordExtension->IsChanged()) {
            if (d.m_recordExtension->Save(d.m_lngID, d, QLatin1String(ScientificDetails::ComponentName),
                                          d.controlsCollection()))
                d.m_recordExtension->AcceptSaved();
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
    ScientificDetails& d = m_details;
    ScientificNameRecord& record = *d.m_objRecord;
    int32_t id = d.m_lngID;
    if (!d.m_objAppManager->CheckPermission(id))
        return false;
    record.SetModifiedBy(d.m_strUserName);
    if (!record.Save())
        return false;
    d.m_changedReferences = false;
    (void)record.IsChanged(0);
    const auto links = record.ReferenceLinks();
    for (int index = 1; index <= links->Count(); ++index)
        links->Item(index)->Save();
    emit d.UpdateList(d.m_lngID);
    if (d.m_rsList && d.m_rsList != d.m_rsOriginal)
        updateOwnListRow();
    d.m_ui->lblNewRecord->setVisible(false);
    return true;
}

void RecordStore::updateOwnListRow()
{
    // The host does not know this list, so the editor keeps its row itself (in memory only).
    ScientificDetails& d = m_details;
    Recordset& list = *d.m_rsList;
    if (list.RecordCount() == 0) {
        list.AddNew();
    } else {
        list.MoveFirst();
        list.Find(QStringLiteral("ID=") + QString::number(d.m_lngID));
        if (list.IsEOF())
            list.AddNew();
    }
    list.Fields(QStringLiteral("ID")).SetValue(d.m_lngID);
    list.Fields(QStringLiteral("Scientific_Name")).SetValue(d.m_objRecord->ScientificName());
    list.Fields(QStringLiteral("Author")).SetValue(d.m_objRecord->AuthorName());
    list.Fields(QStringLiteral("Category")).SetValue(d.m_ui->cboCategory->Text());
    list.Fields(QStringLiteral("Classification_Level")).SetValue(d.m_ui->cboClassificationLevel->Text());
    list.Update();
}

bool RecordStore::DeleteRecord(int32_t& id)
{
    ScientificDetails& d = m_details;
    // Outside the trap, so that a failure's message is shown before they go.
    std::optional<BusyPictureScope> picture;
    std::optional<BusyPointer> pointer;
    try {
        if (d.DisplayMessage(QStringLiteral("SNM002"), QString()) != MsgBoxResult::Yes)
            return false;
        picture.emplace(*d.m_busy, BusyPicture::Deleting);
        pointer.emplace();
        d.m_blnDeleted = true;
        // Any way out that did not delete leaves the record as it was.
        struct UndoDeletedFlag {
            ScientificDetails& details;
            bool armed = true;
            ~UndoDeletedFlag()
            {
                if (armed)
                    details.m_blnDeleted = false;
            }
        } undo {d};
        if (!d.m_objAppManager->CheckPermission(id))
            return false;
        QString userName = d.m_strUserName;
        if (!d.m_objAppManager->Delete(QStringLiteral("delete_table_data"), id, userName,
                                       QStringLiteral("scientific_name")))
            return false;
        emit d.RemoveItem(id);
        if (d.m_rsList && d.m_rsList != d.m_rsOriginal && !d.m_rsList->IsEOF() && !d.m_rsList->IsBOF()) {
            d.m_rsList->Delete();
            d.m_rsList->UpdateBatch();
        }
        if (d.m_rsList && d.m_rsList->RecordCount() > 0) {
            showFollowingRecord();
            return true;
        }
        // Nothing left to show: the window goes, and the following CanClose lets it.
        undo.armed = false;
        emit d.Quit();
        picture->keepShown();
        return true;
    } catch (const std::exception& error) {
        d.m_blnDeleted = false;
        d.DisplayMessage(QStringLiteral("SNM003"), Error::from(error).Description());
        return false;
    }
}

void RecordStore::showFollowingRecord()
{
    // The name is gone by now: a failure here is a failed move, not a failed delete.
    try {
        m_details.m_navigation->ShowRecordAtShownPosition();
    } catch (const std::exception& error) {
        m_details.DisplayMessage(QStringLiteral("APP008"), Error::from(error).Description());
    }
}

} // namespace bryx
