#include "RecordPages.h"

#include "BusyPicture.h"
#include "DetailsUi.h"
#include "RecordNavigation.h"
#include "ScientificDetails.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/ClientComponents.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "controls/Controls.h"
#include "controls/DataCombo.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "recordset/Recordset.h"

#include <QApplication>
#include <QPalette>

namespace bryx {

namespace {

constexpr int PageCount = 4;
constexpr const char* NameTypeCodes[] = {"P", "A", "C"};
constexpr const char* NameTypeWords[] = {"Botanical", "Zoological", "Ecological"};
const QString Checked = QStringLiteral("-1");
const QString Unchecked = QStringLiteral("0");

bool isEmptyValue(const QVariant& value)
{
    return value.isNull() || !value.isValid() || value.toString().isEmpty();
}

void setTag(QObject* control, const char* fieldName)
{
    control->setProperty("Tag", QLatin1String(fieldName));
}

} // namespace

void RecordPages::LoadData(int32_t lngIDLocal)
{
    ScientificDetails& d = m_details;
    const BusyPointer busy;
    d.m_objRecord = d.CreateRecord();
    d.m_lngID = lngIDLocal;
    d.m_objRecord->Retrieve(d.m_lngID, 0, 0);
    if (d.m_strExtraInfo == QLatin1String("SINGLE_RECORD_VIEW"))
        d.m_rsList = d.GetSingleRecordView(d.m_lngID);
    d.m_nameType = NameTypeCode::Unknown;
    d.m_navigation->RefreshPosition();
    d.m_ui->lblNewRecord->setVisible(false);
    TabChange(0);
    d.m_ui->fgReferences->SetColHidden(DetailsUi::RefColReferenceId, true);
    d.m_ui->fgReferences->SetColHidden(DetailsUi::RefColLinkId, true);
    d.m_recordExtension->RecordShown(d, QLatin1String(ScientificDetails::ComponentName),
                                     d.controlsCollection(), d.m_lngID);
}

void RecordPages::startBlankRecord()
{
    ScientificDetails& d = m_details;
    if (d.m_objRecord) {
        d.m_objRecord->UnbindField(QString());
        d.m_objRecord->Release();
    }
    d.m_objRecord = d.CreateRecord();
    d.m_objRecord->NewRecord(false, QVariant());
    d.m_objRecord->SetCreatedBy(d.m_strUserName);
    d.m_objRecord->SetLastModifiedBy(d.m_strUserName);
    d.m_objRecord->SetOrgUnit(d.m_objAppManager->GetSystemOrgUnitID());
}

int32_t RecordPages::NewData()
{
    ScientificDetails& d = m_details;
    const BusyPointer busy;
    startBlankRecord();
    // An italic blank: what is typed into a new name comes out italic.
    d.m_objRecord->SetFormattedScientificName(QStringLiteral("<i> </i>"));
    d.m_ui->lblNewRecord->setVisible(true);
    d.m_lngID = d.m_objRecord->ID();
    d.m_ui->lblTotalRecords->setText(QStringLiteral("1"));
    d.m_ui->txtCurrentRecord->setText(QStringLiteral("1"));
    d.m_ui->fgReferences->SetColHidden(DetailsUi::RefColReferenceId, true);
    d.m_ui->fgReferences->SetColHidden(DetailsUi::RefColLinkId, true);
    TabChange(0);
    d.m_recordExtension->RecordShown(d, QLatin1String(ScientificDetails::ComponentName),
                                     d.controlsCollection(), d.m_lngID);
    return d.m_objRecord->ID();
}

void RecordPages::NewRecord(int32_t type)
{
    ScientificDetails& d = m_details;
    const BusyPointer busy;
    startBlankRecord();
    d.m_ui->lblNewRecord->setVisible(true);
    d.m_nameType = type;
    ClearFields();
    TabChange(0);
    const QString pastTheEnd = QString::number((d.m_rsList ? d.m_rsList->RecordCount() : 0) + 1);
    d.m_ui->lblTotalRecords->setText(pastTheEnd);
    d.m_ui->txtCurrentRecord->setText(pastTheEnd);
    d.m_ui->tabScientificName->SetTab(0);
    d.m_ui->fgReferences->SetColHidden(DetailsUi::RefColReferenceId, true);
    d.m_ui->fgReferences->SetColHidden(DetailsUi::RefColLinkId, true);
    d.m_lngID = d.m_objRecord->ID();
    d.m_blnDeleted = false;
}

int32_t RecordPages::nameTypeOfCategory()
{
    const auto categories =
        m_details.m_objRecord->GetLookup(QStringLiteral("NameCategory"), QStringLiteral("%"), true);
    const QString code =
        categories->ValueForKey(m_details.m_objRecord->DNameCategoryId(), QStringLiteral("Name_Type_CD"))
            .toString();
    for (int32_t type = 0; type < int32_t(std::size(NameTypeCodes)); ++type) {
        if (code == QLatin1String(NameTypeCodes[type]))
            return type;
    }
    return NameTypeCode::Unknown;
}

void RecordPages::TabChange(int page)
{
    ScientificDetails& d = m_details;
    d.m_ui->tabScientificName->SetTab(page);
    if (page >= PageCount || page < 0 || d.m_blnInTabChange)
        return;
    d.m_blnInTabChange = true;
    // The guard goes on every path: a failed page load must not leave the tabs dead.
    struct ClearGuard {
        ScientificDetails& details;
        ~ClearGuard() { details.m_blnInTabChange = false; }
    } clearGuard {d};
    if (!d.m_tabLoaded.at(size_t(page))) {
        if (d.m_nameType == NameTypeCode::Unknown)
            d.m_nameType = nameTypeOfCategory();
        if (d.m_nameType == NameTypeCode::Ecological)
            d.m_ui->SetEcologicalLayout();
        else
            d.m_ui->SetStandardLayout();
        switch (page) {
        case 0:
            LoadIdentifiersPage();
            break;
        case 1:
            LoadNomenclaturePage();
            break;
        case 2:
            LoadReferencesPage();
            break;
        default:
            LoadCommentsPage();
            break;
        }
        d.m_tabLoaded.at(size_t(page)) = true;
        (void)d.m_objRecord->IsChanged(0);
        UpdateSummary();
    }
    d.m_ui->tabScientificName->update();
}

void RecordPages::showList(DataCombo& combo, const LookupList& list, const char* textColumn)
{
    QList<std::pair<QString, QString>> rows;
    rows.reserve(list.Count());
    for (int row = 1; row <= list.Count(); ++row)
        rows.append({list.Key(row).toString(), list.Value(row, QLatin1String(textColumn)).toString()});
    combo.SetList(rows);
}

void RecordPages::rebindCombo(DataCombo& combo, const char* fieldName, int times)
{
    ScientificNameRecord& record = *m_details.m_objRecord;
    for (int pass = 0; pass < times; ++pass) {
        record.UnbindField(QLatin1String(fieldName));
        record.BindField(combo, QStringLiteral("boundtext"), QLatin1String(fieldName), QVariant());
        combo.SetText(combo.Text());
    }
}

void RecordPages::LoadIdentifiersPage()
{
    ScientificDetails& d = m_details;
    DetailsUi& ui = *d.m_ui;
    ScientificNameRecord& record = *d.m_objRecord;
    const BusyPictureScope picture(*d.m_busy, BusyPicture::Loading);
    const BusyPointer busy;

    record.BindField(*ui.ctrScientificName, QStringLiteral("Text"), QStringLiteral("FormattedScientificName"),
                     {});
    if (record.IsNew())
        ui.ctrScientificName->SetPlainText(QString());
    record.BindField(*ui.ctrAuthor, QStringLiteral("Text"), QStringLiteral("AuthorName"), {});
    record.BindField(*ui.ctrTranslatedName, QStringLiteral("Text"), QStringLiteral("TranslatedName"), {});
    record.BindField(*ui.txtAcronym, QStringLiteral("Text"), QStringLiteral("Acronym"), {});
    setTag(ui.ctrScientificName, "FormattedScientificName");
    setTag(ui.ctrAuthor, "AuthorName");
    setTag(ui.ctrTranslatedName, "TranslatedName");
    setTag(ui.txtAcronym, "Acronym");
    setTag(ui.chkPlaceholderName, "PlaceholderNameIndicator");
    setTag(ui.cboCategory, "DNameCategoryId");
    setTag(ui.cboClassificationLevel, "DClassificationLevelId");
    ui.chkPlaceholderName->SetValue(record.PlaceholderNameIndicator() == QLatin1String("Y") ? 1 : 0);

    d.m_blnLoading = true;
    struct LoadingGuard {
        ScientificDetails& details;
        ~LoadingGuard() { details.m_blnLoading = false; }
    } loadingGuard {d};
    std::shared_ptr<LookupList> categories;
    if (d.m_nameType >= NameTypeCode::Botanical && d.m_nameType <= NameTypeCode::Ecological) {
        categories = record.GetLookup(QStringLiteral("NameCategory"),
                                      QLatin1String(NameTypeCodes[d.m_nameType]), true);
        showList(*ui.cboCategory, *categories, "Name_Category_Desc");
    } else {
        ui.cboCategory->ClearList();
    }
    rebindCombo(*ui.cboCategory, "DNameCategoryId", 2);
    if (isEmptyValue(record.DNameCategoryId()) && categories && categories->Count() > 0)
        ui.cboCategory->SetText(categories->Value(1, QStringLiteral("Name_Category_Desc")).toString());

    const auto levels =
        record.GetLookup(QStringLiteral("ClassificationLevel"), ui.cboCategory->BoundText(), true);
    showList(*ui.cboClassificationLevel, *levels, "Classification_Level_Name");
    rebindCombo(*ui.cboClassificationLevel, "DClassificationLevelId", 2);
    if (isEmptyValue(record.DClassificationLevelId()) && levels->Count() > 0)
        ui.cboClassificationLevel->SetText(
            levels->Value(1, QStringLiteral("Classification_Level_Name")).toString());
}

void RecordPages::cboCategory_Change()
{
    ScientificDetails& d = m_details;
    DetailsUi& ui = *d.m_ui;
    if (ui.cboCategory->BoundText().isEmpty() || d.m_blnLoading || !d.m_objRecord)
        return;
    const auto levels =
        d.m_objRecord->GetLookup(QStringLiteral("ClassificationLevel"), ui.cboCategory->BoundText(), true);
    showList(*ui.cboClassificationLevel, *levels, "Classification_Level_Name");
    rebindCombo(*ui.cboClassificationLevel, "DClassificationLevelId", 1);
    if (levels->Count() < 1) {
        ui.cboClassificationLevel->setEnabled(false);
        return;
    }
    d.m_objAppManager->EnableControl(*ui.cboClassificationLevel,
                                     QLatin1String(ScientificDetails::ComponentName));
    ui.cboClassificationLevel->SetText(
        levels->Value(1, QStringLiteral("Classification_Level_Name")).toString());
}

void RecordPages::ctrScientificName_Validate(bool& cancel)
{
    ScientificDetails& d = m_details;
    if (!d.m_objRecord)
        return;
    const QString plain = d.m_ui->ctrScientificName->PlainText();
    const int maximum = d.m_ui->txtSummarySciName->maxLength();
    if (maximum > 0 && plain.size() > maximum) {
        d.DisplayMessage(QStringLiteral("SNM005"), QString::number(maximum), QString::number(plain.size()),
                         QString::number(plain.size() - maximum));
        cancel = true;
        return;
    }
    d.m_objRecord->SetScientificName(plain);
    UpdateSummary();
}

void RecordPages::chkPlaceholderName_Click()
{
    if (m_details.m_objRecord)
        m_details.m_objRecord->SetPlaceholderNameIndicator(
            m_details.m_ui->chkPlaceholderName->Value() == 1 ? QStringLiteral("Y") : QStringLiteral("N"));
}

void RecordPages::LoadNomenclaturePage()
{
    ScientificDetails& d = m_details;
    DetailsUi& ui = *d.m_ui;
    ScientificNameRecord& record = *d.m_objRecord;
    const BusyPictureScope picture(*d.m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    const auto established = record.GetLookup(QStringLiteral("NomenclaturallyEst"), QVariant(), true);
    const int empty = established->AddRow();
    established->SetValue(empty, QStringLiteral("Nomenclaturally_Est_Desc"), QString());
    showList(*ui.cboNomenclaturallyEst, *established, "Nomenclaturally_Est_Desc");
    record.BindField(*ui.cboNomenclaturallyEst, QStringLiteral("boundText"),
                     QStringLiteral("NomenclaturallyEst"), {});
    if (const QVariant id = record.NomenclaturallyEstablishedId(); !isEmptyValue(id)) {
        int32_t establishedId = id.toInt();
        ShowEstablishedName(establishedId);
    }
    record.BindField(*ui.txtRelationship, QStringLiteral("Text"), QStringLiteral("RelationshipToEstablName"),
                     {});
    setTag(ui.cboNomenclaturallyEst, "NomenclaturallyEst");
    setTag(ui.txtRelationship, "RelationshipToEstablName");
}

void RecordPages::ShowEstablishedName(int32_t& id)
{
    ScientificDetails& d = m_details;
    if (id >= 1) {
        auto established = d.CreateRecord();
        established->Retrieve(id, 0, 0);
        d.m_objRecord->SetNomenclaturallyEstablishedId(id);
        d.m_ui->txtEstablishedName->setText(established->ScientificName());
        d.m_ui->txtEstablishedAuthor->setText(established->AuthorName());
        established->Release();
    } else if (id == 0) {
        d.m_objRecord->SetNomenclaturallyEstablishedId(QString());
        d.m_ui->txtEstablishedName->setText(QString());
        d.m_ui->txtEstablishedAuthor->setText(QString());
    }
}

void RecordPages::LoadReferencesPage()
{
    ScientificDetails& d = m_details;
    const BusyPictureScope picture(*d.m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    LoadReferencesGrid();
    d.m_ui->fgReferences->AutoSize(0, d.m_ui->fgReferences->Cols() - 1);
}

void RecordPages::LoadReferencesGrid()
{
    ScientificDetails& d = m_details;
    FlexGrid& grid = *d.m_ui->fgReferences;
    grid.SetRows(1);
    auto references =
        CreateObject<ComponentCollection>(QStringLiteral("ClientFramework.ComponentCollection"));
    references->Initialize(QStringLiteral("BRYX_ReferenceClient.RefClient"), d.m_strServerName,
                           d.m_lngServerType);
    references->Load(QStringLiteral("ScientificName_References"), d.m_lngID, QVariant(), QVariant(),
                     QVariant());
    const auto links = d.m_objRecord->ReferenceLinks();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    for (int index = 1; index <= links->Count(); ++index) {
        const auto link = links->Item(index);
        const QString referenceId = link->Field(QStringLiteral("ReferenceID")).toString();
        const auto reference =
            std::dynamic_pointer_cast<Reference>(references->FindItem(QStringLiteral("ID = ") + referenceId));
        if (!reference)
            continue;
        const int row = grid.Rows();
        grid.SetRows(row + 1);
        grid.SetRowData(row, referenceId);
        grid.SetTextMatrix(row, DetailsUi::RefColReferenceCode, reference->ReferenceCode());
        grid.SetTextMatrix(row, DetailsUi::RefColFullCitation, reference->FullCitation());
        grid.SetTextMatrix(row, DetailsUi::RefColReferenceId, referenceId);
        grid.SetTextMatrix(row, DetailsUi::RefColPrimary,
                           link->Field(QStringLiteral("PrimaryReferenceInd")).toString() == QLatin1String("Y")
                               ? Checked
                               : Unchecked);
        grid.SetTextMatrix(row, DetailsUi::RefColOriginal,
                           link->Field(QStringLiteral("OriginalPublicationInd")).toString()
                                   == QLatin1String("Y")
                               ? Checked
                               : Unchecked);
        grid.SetTextMatrix(row, DetailsUi::RefColLinkId,
                           link->Field(QStringLiteral("ScientificNameReferenceId")).toString());
        grid.SetBlockBackColor(row, DetailsUi::RefColReferenceCode, row, DetailsUi::RefColFullCitation,
                               buttonFace);
    }
}

void RecordPages::LoadCommentsPage()
{
    ScientificDetails& d = m_details;
    DetailsUi& ui = *d.m_ui;
    const BusyPictureScope picture(*d.m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    d.m_objRecord->BindField(*ui.ctrNameComments, QStringLiteral("Text"), QStringLiteral("ScientificNameCom"),
                             {});
    d.m_objRecord->BindField(*ui.ctrNameNotes, QStringLiteral("Text"),
                             QStringLiteral("ScientificNameInternalNotes"), {});
    setTag(ui.ctrNameComments, "ScientificNameCom");
    setTag(ui.ctrNameNotes, "ScientificNameInternalNotes");
}

void RecordPages::UpdateSummary()
{
    ScientificDetails& d = m_details;
    DetailsUi& ui = *d.m_ui;
    // Each step on its own: a summary that cannot be completed still shows what it can.
    auto step = [](const std::function<void()>& work) {
        try {
            work();
        } catch (...) {
        }
    };
    QString name;
    QString author;
    step([&] {
        name = d.m_objRecord->ScientificName();
        d.hostWindow()->SetCaption(name.isEmpty() ? QStringLiteral("Scientific Name")
                                                  : QStringLiteral("Scientific Name - ") + name);
    });
    step([&] {
        author = d.m_objRecord->AuthorName();
        ui.txtSummarySciName->setText(name);
        ui.txtSummaryAuthor->setText(author);
        if (d.m_nameType >= NameTypeCode::Botanical && d.m_nameType <= NameTypeCode::Ecological)
            ui.txtSummaryNameType->setText(QLatin1String(NameTypeWords[d.m_nameType]));
    });
    step([&] { ui.lblElementNameID->setText(QString::number(d.m_lngID)); });
    step([&] {
        ui.lblUniversalKey->setText(d.m_objAppManager->GetOrgUnitCode(d.m_objRecord->OrgUnit())
                                    + QLatin1Char('-') + d.m_objRecord->KeyNumber().toString());
    });
    step([&] {
        for (TextBox* box : {ui.txtSummarySciName, ui.txtSummaryAuthor, ui.txtSummaryNameType})
            box->setToolTip(box->text());
    });
}

void RecordPages::ClearFields()
{
    m_details.m_ui->ClearFields();
    m_details.m_tabLoaded.fill(false);
}

} // namespace bryx
