#include "RecordCopies.h"

#include "BusyPicture.h"
#include "DetailsSession.h"
#include "DetailsUi.h"
#include "RecordNavigation.h"
#include "RecordPages.h"
#include "RecordStore.h"
#include "collection/Collection.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "controls/Controls.h"
#include "dialogs/frmModalSearch.h"
#include "error/Error.h"
#include "registration/Identities.h"
#include "related/frmCopy.h"
#include "services/MessageBox.h"

#include <optional>

namespace bryx {

namespace {

// What a copy carries besides the name's author, category, level, placeholder indicator and
// established name.
constexpr const char* FurtherFields[] = {"TranslatedName",     "Acronym",
                                         "NomenclaturallyEst", "RelationshipToEstablName",
                                         "ScientificNameCom",  "ScientificNameInternalNotes",
                                         "OrgUnitId"};

} // namespace

int32_t RecordCopies::CloneData(int32_t lngIDLocal)
{
    // A late failure (the save, say) still answers the copy's ID: the copy may exist by then.
    int32_t result = 0;
    try {
        cloneUnderNewName(lngIDLocal, result);
    } catch (const std::exception& error) {
        MsgBox(QStringLiteral("Unable to copy record: ") + Error::from(error).Description(),
               MsgBoxStyle::Exclamation, QStringLiteral("Record Error"));
    }
    return result;
}

void RecordCopies::cloneUnderNewName(int32_t originalId, int32_t& result)
{
    DetailsSession& d = m_session;
    auto original = d.CreateRecord();
    original->Retrieve(originalId, 0, 0);
    frmCopy dialog(d.window());
    dialog.SetOriginalName(original->ScientificName());
    dialog.SetIcon(d.hostWindow()->Icon());
    dialog.ShowModal();
    if (!dialog.Ok()) {
        dialog.Unload();
        return;
    }
    auto copy = d.CreateRecord();
    copy->NewRecord(false, QVariant());
    copy->SetCreatedBy(d.strUserName);
    copy->SetLastModifiedBy(d.strUserName);
    copy->SetAuthorName(original->AuthorName());
    copy->SetField(QStringLiteral("DNameCategoryId"), original->DNameCategoryId());
    copy->SetField(QStringLiteral("DClassificationLevelId"), original->DClassificationLevelId());
    copy->SetPlaceholderNameIndicator(original->PlaceholderNameIndicator());
    copy->SetNomenclaturallyEstablishedId(original->NomenclaturallyEstablishedId().isNull()
                                              ? QVariant(QString())
                                              : original->NomenclaturallyEstablishedId());
    for (const char* field : FurtherFields)
        copy->SetField(QLatin1String(field), original->Field(QLatin1String(field)));
    copy->SetScientificName(dialog.CopyName());

    const auto originalLinks = original->ReferenceLinks();
    const auto copyLinks = copy->ReferenceLinks();
    const int count = originalLinks->Count();
    for (int position = 1; position <= count; ++position) {
        copyLinks->Add();
        const auto link = copyLinks->Item(position);
        const auto from = originalLinks->Item(position);
        for (const char* field : {"OriginalPublicationInd", "PrimaryReferenceInd", "ReferenceID"})
            link->SetField(QLatin1String(field), from->Field(QLatin1String(field)));
        link->SetField(QStringLiteral("RecCreateUser"), d.strUserName);
        link->SetField(QStringLiteral("RecLastModUser"), d.strUserName);
    }
    result = copy->ID();
    d.lngID = result;
    copy->SetModifiedBy(d.strUserName);
    (void)copy->Save();
    m_events.raiseUpdateList(d.lngID);
    copy->Release();
    original->Release();
    dialog.Unload();
}

void RecordCopies::CopyDataFrom()
{
    DetailsSession& d = m_session;
    std::optional<BusyPictureScope> picture;
    std::optional<BusyPointer> pointer;
    frmModalSearch dialog(d.window());
    try {
        if (m_store.HasPendingChanges()) {
            bool saved = false;
            if (d.DisplayMessage(QStringLiteral("APP029"), QString()) == MsgBoxResult::OK) {
                saved = m_store.SaveRecord();
                if (saved)
                    d.changedReferences = false;
            }
            if (!saved) {
                d.DisplayMessage(QStringLiteral("APP028"), QString());
                return;
            }
        }
        auto chosen = std::make_shared<Collection>();
        std::shared_ptr<Recordset> none;
        if (!dialog.InitDialog(QLatin1String(registration::SearchProgId), d.objAppManager, none, QString()))
            return;
        dialog.SetIcon(d.hostWindow()->Icon());
        dialog.SetSelectedItems(chosen);
        dialog.ShowModal();
        if (chosen->Count() >= 1
            && d.DisplayMessage(QStringLiteral("APP027"), QString()) == MsgBoxResult::Yes) {
            pointer.emplace();
            picture.emplace(m_busy, BusyPicture::Copying);
            QString userName = d.strUserName;
            if (d.objAppManager->Copy(QStringLiteral("COPY_SNM"), chosen->Item(1), d.lngID, userName)) {
                picture.reset(); // the move shows its own
                if (d.rsList)
                    m_navigation.MoveToPosition(m_ui.txtCurrentRecord->text());
                else
                    m_pages.ShowCurrentRecord(); // a modal editor has no list to move in
                m_events.raiseUpdateList(d.lngID);
            }
        }
    } catch (const std::exception& error) {
        // The message first; the busy picture and the pointer go with the dialog afterwards.
        d.DisplayMessage(QStringLiteral("APP036"), Error::from(error).Description());
    }
    picture.reset();
    pointer.reset();
    if (!dialog.isUnloaded())
        dialog.Unload();
}

} // namespace bryx
