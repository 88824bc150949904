#include "RecordPages.h"

#include "BusyPicture.h"
#include "DetailsSession.h"
#include "DetailsUi.h"
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
#include "util/RS_Functions.h"

#include <QApplication>
#include <QPalette>
#include <vector>

namespace bryx {

namespace {

constexpr int PageCount = 4;
constexpr const char* NameTypeCodes[] = {"P", "A", "C"};
constexpr const char* NameTypeWords[] = {"Botanical", "Zoological", "Ecological"};
const QString Checked = QStringLiteral("-1");
const QString Unchecked = QStringLiteral("0");
const QString One = QStringLiteral("1");

bool isEmptyValue(const QVariant& value)
{
    return value.isNull() || !value.isValid() || value.toString().isEmpty();
}

// One control of a page and the record field it shows. The Tag names the field for the audit
// trail of the field with the focus; `property` is empty for a control bound in its own way
// (a code list, a check box).
struct PageBinding {
    QWidget* control;
    const char* property;
    const char* field;
};

std::vector<PageBinding> pageBindings(const DetailsUi& ui, int page)
{
    switch (page) {
    case 0:
        return {{ui.ctrScientificName, "Text", "FormattedScientificName"},
                {ui.ctrAuthor, "Text", "AuthorName"},
                {ui.ctrTranslatedName, "Text", "TranslatedName"},
                {ui.txtAcronym, "Text", "Acronym"},
                {ui.chkPlaceholderName, nullptr, "PlaceholderNameIndicator"},
                {ui.cboCategory, nullptr, "DNameCategoryId"},
                {ui.cboClassificationLevel, nullptr, "DClassificationLevelId"}};
    case 1:
        return {{ui.cboNomenclaturallyEst, "boundText", "NomenclaturallyEst"},
                {ui.txtRelationship, "Text", "RelationshipToEstablName"}};
    case 3:
        return {{ui.ctrNameComments, "Text", "ScientificNameCom"},
                {ui.ctrNameNotes, "Text", "ScientificNameInternalNotes"}};
    default:
        return {}; // the References page shows links, not fields
    }
}

} // namespace

void RecordPages::LoadData(int32_t lngIDLocal)
{
    DetailsSession& d = m_session;
    const BusyPointer busy;
    d.objRecord = d.CreateRecord();
    d.lngID = lngIDLocal;
    d.objRecord->Retrieve(d.lngID, 0, 0);
    if (d.strExtraInfo == QLatin1String("SINGLE_RECORD_VIEW"))
        d.rsList = d.GetSingleRecordView(d.lngID);
    d.nameType = NameTypeCode::Unknown;
    RefreshPosition();
    m_ui.lblNewRecord->setVisible(false);
    TabChange(0);
    m_ui.fgReferences->SetColHidden(DetailsUi::RefColReferenceId, true);
    m_ui.fgReferences->SetColHidden(DetailsUi::RefColLinkId, true);
    d.announceRecordShown();
}

void RecordPages::startBlankRecord()
{
    DetailsSession& d = m_session;
    if (d.objRecord) {
        d.objRecord->UnbindField(QString());
        d.objRecord->Release();
    }
    d.objRecord = d.CreateRecord();
    d.objRecord->NewRecord(false, QVariant());
    d.objRecord->SetCreatedBy(d.strUserName);
    d.objRecord->SetLastModifiedBy(d.strUserName);
    d.objRecord->SetOrgUnit(d.objAppManager->GetSystemOrgUnitID());
}

int32_t RecordPages::NewData()
{
    DetailsSession& d = m_session;
    const BusyPointer busy;
    startBlankRecord();
    // An italic blank: what is typed into a new name comes out italic.
    d.objRecord->SetFormattedScientificName(QStringLiteral("<i> </i>"));
    m_ui.lblNewRecord->setVisible(true);
    d.lngID = d.objRecord->ID();
    m_ui.lblTotalRecords->setText(QStringLiteral("1"));
    m_ui.txtCurrentRecord->setText(QStringLiteral("1"));
    m_ui.fgReferences->SetColHidden(DetailsUi::RefColReferenceId, true);
    m_ui.fgReferences->SetColHidden(DetailsUi::RefColLinkId, true);
    TabChange(0);
    d.announceRecordShown();
    return d.objRecord->ID();
}

void RecordPages::NewRecord(int32_t type)
{
    DetailsSession& d = m_session;
    const BusyPointer busy;
    startBlankRecord();
    m_ui.lblNewRecord->setVisible(true);
    d.nameType = type;
    ClearFields();
    TabChange(0);
    const QString pastTheEnd = QString::number((d.rsList ? d.rsList->RecordCount() : 0) + 1);
    m_ui.lblTotalRecords->setText(pastTheEnd);
    m_ui.txtCurrentRecord->setText(pastTheEnd);
    m_ui.tabScientificName->SetTab(0);
    m_ui.fgReferences->SetColHidden(DetailsUi::RefColReferenceId, true);
    m_ui.fgReferences->SetColHidden(DetailsUi::RefColLinkId, true);
    d.lngID = d.objRecord->ID();
    d.blnDeleted = false;
}

int32_t RecordPages::nameTypeOfCategory()
{
    const auto categories =
        m_session.objRecord->GetLookup(QStringLiteral("NameCategory"), QStringLiteral("%"), true);
    const QString code =
        categories->ValueForKey(m_session.objRecord->DNameCategoryId(), QStringLiteral("Name_Type_CD"))
            .toString();
    for (int32_t type = 0; type < int32_t(std::size(NameTypeCodes)); ++type) {
        if (code == QLatin1String(NameTypeCodes[type]))
            return type;
    }
    return NameTypeCode::Unknown;
}

void RecordPages::TabChange(int page)
{
    DetailsSession& d = m_session;
    m_ui.tabScientificName->SetTab(page);
    if (page >= PageCount || page < 0 || d.blnInTabChange)
        return;
    d.blnInTabChange = true;
    // The guard goes on every path: a failed page load must not leave the tabs dead.
    struct ClearGuard {
        DetailsSession& details;
        ~ClearGuard() { details.blnInTabChange = false; }
    } clearGuard {d};
    if (!d.tabLoaded.at(size_t(page))) {
        if (d.nameType == NameTypeCode::Unknown)
            d.nameType = nameTypeOfCategory();
        if (d.nameType == NameTypeCode::Ecological)
            m_ui.SetEcologicalLayout();
        else
            m_ui.SetStandardLayout();
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
        d.tabLoaded.at(size_t(page)) = true;
        (void)d.objRecord->IsChanged(0);
        UpdateSummary();
    }
    m_ui.tabScientificName->update();
}

void RecordPages::bindPage(int page)
{
    ScientificNameRecord& record = *m_session.objRecord;
    for (const PageBinding& binding : pageBindings(m_ui, page)) {
        if (binding.property)
            record.BindField(*binding.control, QLatin1String(binding.property), QLatin1String(binding.field),
                             {});
        binding.control->setProperty("Tag", QLatin1String(binding.field));
    }
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
    ScientificNameRecord& record = *m_session.objRecord;
    for (int pass = 0; pass < times; ++pass) {
        record.UnbindField(QLatin1String(fieldName));
        record.BindField(combo, QStringLiteral("boundtext"), QLatin1String(fieldName), QVariant());
        combo.SetText(combo.Text());
    }
}

void RecordPages::LoadIdentifiersPage()
{
    DetailsSession& d = m_session;
    DetailsUi& ui = m_ui;
    ScientificNameRecord& record = *d.objRecord;
    const BusyPictureScope picture(m_busy, BusyPicture::Loading);
    const BusyPointer busy;

    bindPage(0);
    if (record.IsNew())
        ui.ctrScientificName->SetPlainText(QString());
    ui.chkPlaceholderName->SetValue(record.PlaceholderNameIndicator() == QLatin1String("Y") ? 1 : 0);

    d.blnLoading = true;
    struct LoadingGuard {
        DetailsSession& details;
        ~LoadingGuard() { details.blnLoading = false; }
    } loadingGuard {d};
    std::shared_ptr<LookupList> categories;
    if (d.nameType >= NameTypeCode::Botanical && d.nameType <= NameTypeCode::Ecological) {
        categories =
            record.GetLookup(QStringLiteral("NameCategory"), QLatin1String(NameTypeCodes[d.nameType]), true);
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
    DetailsSession& d = m_session;
    DetailsUi& ui = m_ui;
    if (ui.cboCategory->BoundText().isEmpty() || d.blnLoading || !d.objRecord)
        return;
    const auto levels =
        d.objRecord->GetLookup(QStringLiteral("ClassificationLevel"), ui.cboCategory->BoundText(), true);
    showList(*ui.cboClassificationLevel, *levels, "Classification_Level_Name");
    rebindCombo(*ui.cboClassificationLevel, "DClassificationLevelId", 1);
    if (levels->Count() < 1) {
        ui.cboClassificationLevel->setEnabled(false);
        return;
    }
    d.objAppManager->EnableControl(*ui.cboClassificationLevel, QLatin1String(DetailsSession::ComponentName));
    ui.cboClassificationLevel->SetText(
        levels->Value(1, QStringLiteral("Classification_Level_Name")).toString());
}

void RecordPages::ctrScientificName_Validate(bool& cancel)
{
    DetailsSession& d = m_session;
    if (!d.objRecord)
        return;
    const QString plain = m_ui.ctrScientificName->PlainText();
    const int maximum = m_ui.txtSummarySciName->maxLength();
    if (maximum > 0 && plain.size() > maximum) {
        d.DisplayMessage(QStringLiteral("SNM005"), QString::number(maximum), QString::number(plain.size()),
                         QString::number(plain.size() - maximum));
        cancel = true;
        return;
    }
    d.objRecord->SetScientificName(plain);
    UpdateSummary();
}

void RecordPages::chkPlaceholderName_Click()
{
    if (m_session.objRecord)
        m_session.objRecord->SetPlaceholderNameIndicator(
            m_ui.chkPlaceholderName->Value() == 1 ? QStringLiteral("Y") : QStringLiteral("N"));
}

void RecordPages::LoadNomenclaturePage()
{
    DetailsSession& d = m_session;
    DetailsUi& ui = m_ui;
    ScientificNameRecord& record = *d.objRecord;
    const BusyPictureScope picture(m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    const auto established = record.GetLookup(QStringLiteral("NomenclaturallyEst"), QVariant(), true);
    const int empty = established->AddRow();
    established->SetValue(empty, QStringLiteral("Nomenclaturally_Est_Desc"), QString());
    showList(*ui.cboNomenclaturallyEst, *established, "Nomenclaturally_Est_Desc");
    bindPage(1);
    if (const QVariant id = record.NomenclaturallyEstablishedId(); !isEmptyValue(id)) {
        int32_t establishedId = id.toInt();
        ShowEstablishedName(establishedId);
    }
}

void RecordPages::ShowEstablishedName(int32_t& id)
{
    DetailsSession& d = m_session;
    if (id >= 1) {
        auto established = d.CreateRecord();
        established->Retrieve(id, 0, 0);
        d.objRecord->SetNomenclaturallyEstablishedId(id);
        m_ui.txtEstablishedName->setText(established->ScientificName());
        m_ui.txtEstablishedAuthor->setText(established->AuthorName());
        established->Release();
    } else if (id == 0) {
        d.objRecord->SetNomenclaturallyEstablishedId(QString());
        m_ui.txtEstablishedName->setText(QString());
        m_ui.txtEstablishedAuthor->setText(QString());
    }
}

void RecordPages::LoadReferencesPage()
{
    const BusyPictureScope picture(m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    LoadReferencesGrid();
    m_ui.fgReferences->AutoSize(0, m_ui.fgReferences->Cols() - 1);
}

void RecordPages::LoadReferencesGrid()
{
    DetailsSession& d = m_session;
    FlexGrid& grid = *m_ui.fgReferences;
    grid.SetRows(1);
    auto references =
        CreateObject<ComponentCollection>(QStringLiteral("ClientFramework.ComponentCollection"));
    references->Initialize(QStringLiteral("BRYX_ReferenceClient.RefClient"), d.strServerName,
                           d.lngServerType);
    references->Load(QStringLiteral("ScientificName_References"), d.lngID, QVariant(), QVariant(),
                     QVariant());
    const auto links = d.objRecord->ReferenceLinks();
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
    const BusyPictureScope picture(m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    bindPage(3);
}

void RecordPages::UpdateSummary()
{
    DetailsSession& d = m_session;
    DetailsUi& ui = m_ui;
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
        name = d.objRecord->ScientificName();
        d.hostWindow()->SetCaption(name.isEmpty() ? QStringLiteral("Scientific Name")
                                                  : QStringLiteral("Scientific Name - ") + name);
    });
    step([&] {
        author = d.objRecord->AuthorName();
        ui.txtSummarySciName->setText(name);
        ui.txtSummaryAuthor->setText(author);
        if (d.nameType >= NameTypeCode::Botanical && d.nameType <= NameTypeCode::Ecological)
            ui.txtSummaryNameType->setText(QLatin1String(NameTypeWords[d.nameType]));
    });
    step([&] { ui.lblElementNameID->setText(QString::number(d.lngID)); });
    step([&] {
        ui.lblUniversalKey->setText(d.objAppManager->GetOrgUnitCode(d.objRecord->OrgUnit()) + QLatin1Char('-')
                                    + d.objRecord->KeyNumber().toString());
    });
    step([&] {
        for (TextBox* box : {ui.txtSummarySciName, ui.txtSummaryAuthor, ui.txtSummaryNameType})
            box->setToolTip(box->text());
    });
}

void RecordPages::ClearFields()
{
    m_ui.ClearFields();
    m_session.tabLoaded.fill(false);
}

void RecordPages::ShowCurrentRecord()
{
    DetailsSession& d = m_session;
    BusyPictureScope picture(m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    if (d.objRecord)
        d.objRecord->UnbindField(QString());
    ClearFields();
    d.nameType = NameTypeCode::Unknown;
    if (d.objRecord)
        d.objRecord->Release();
    d.objRecord = d.CreateRecord();
    d.objRecord->Retrieve(d.lngID, 0, 0);
    d.blnDeleted = false;
    TabChange(0);
    d.announceRecordShown();
    m_ui.lblNewRecord->setVisible(false);
}

void RecordPages::ShowRecordAtShownPosition()
{
    DetailsSession& d = m_session;
    Recordset& list = *d.rsList;
    const int shown = m_ui.txtCurrentRecord->text().toInt();
    if (shown > list.RecordCount()) {
        list.MoveLast();
    } else {
        list.MoveFirst();
        if (shown > 1)
            list.Move(shown - 1);
    }
    d.lngID = list.Fields(QStringLiteral("ID")).Value().toInt();
    ShowCurrentRecord();
    m_ui.txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
    m_ui.lblTotalRecords->setText(QString::number(list.RecordCount()));
}

void RecordPages::RefreshPosition()
{
    DetailsSession& d = m_session;
    DetailsUi& ui = m_ui;
    if (!d.rsList || d.rsList->RecordCount() == 0) {
        ui.txtCurrentRecord->setText(One);
        ui.lblTotalRecords->setText(One);
        return;
    }
    Recordset& list = *d.rsList;
    if (RS_Functions::FindByID(list, d.lngID) && list.AbsolutePosition() >= 1) {
        ui.lblTotalRecords->setText(QString::number(list.RecordCount()));
        ui.txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
        return;
    }
    ui.txtCurrentRecord->setText(One);
    ui.lblTotalRecords->setText(One);
}

} // namespace bryx
