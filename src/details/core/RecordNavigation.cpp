#include "RecordNavigation.h"

#include "BusyPicture.h"
#include "DetailsUi.h"
#include "RecordPages.h"
#include "ScientificDetails.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "controls/Controls.h"
#include "error/Error.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "related/frmGotoRecord.h"
#include "util/Misc_Functions.h"

#include <cmath>
#include <optional>

namespace bryx {

namespace {

// The whole-number value of a text the way a user's number reads: surrounding blanks allowed,
// nothing else.
std::optional<long long> wholeNumber(const QString& text)
{
    bool numeric = false;
    const double value = text.trimmed().toDouble(&numeric);
    if (!numeric || !std::isfinite(value))
        return std::nullopt;
    return static_cast<long long>(std::floor(value));
}

const QString One = QStringLiteral("1");

} // namespace

int RecordNavigation::rowCount() const
{
    return m_details.m_rsList ? m_details.m_rsList->RecordCount() : 0;
}

int RecordNavigation::shownPosition() const
{
    return int(wholeNumber(m_details.m_ui->txtCurrentRecord->text()).value_or(0));
}

void RecordNavigation::cmdNavFirst_Click()
{
    if (shownPosition() != 1)
        MoveToPosition(One);
}

void RecordNavigation::cmdNavPrev_Click()
{
    if (const int position = shownPosition(); position != 1)
        MoveToPosition(QString::number(position - 1));
}

void RecordNavigation::cmdNavNext_Click()
{
    if (const int position = shownPosition(); position < rowCount())
        MoveToPosition(QString::number(position + 1));
}

void RecordNavigation::cmdNavLast_Click()
{
    if (shownPosition() < rowCount())
        MoveToPosition(QString::number(rowCount()));
}

void RecordNavigation::txtCurrentRecord_Validate(bool& cancel)
{
    if (!wholeNumber(m_details.m_ui->txtCurrentRecord->text()))
        cancel = true;
}

void RecordNavigation::txtCurrentRecord_KeyPress(int& keyAscii)
{
    if (keyAscii != KeyAscii::Enter)
        return;
    // The Enter is spent on the move; it must not go on to press a default button as well.
    keyAscii = KeyAscii::Discard;
    MoveToPosition(m_details.m_ui->txtCurrentRecord->text());
}

void RecordNavigation::txtCurrentRecord_LostFocus()
{
    const ScientificDetails& d = m_details;
    if (!d.m_rsList)
        return;
    const QString text = d.m_ui->txtCurrentRecord->text().trimmed();
    const int current = d.m_rsList->AbsolutePosition();
    if (text == QString::number(current))
        return;
    if (text == QString::number(rowCount() + 1) && !d.m_ui->lblNewRecord->isHidden())
        return;
    MoveToPosition(text);
}

void RecordNavigation::MoveToPosition(const QString& position)
{
    try {
        moveTo(position);
    } catch (const std::exception& error) {
        m_details.DisplayMessage(QStringLiteral("APP008"), Error::from(error).Description());
    }
}

void RecordNavigation::moveTo(const QString& position)
{
    ScientificDetails& d = m_details;
    const std::optional<long long> target = wholeNumber(position);
    if (!target) {
        resetPositionBox();
        return;
    }
    if (*target < 1 || *target > rowCount()) {
        d.DisplayMessage(QStringLiteral("APP003"), QString());
        resetPositionBox();
        return;
    }
    if (!d.CanClose())
        return;
    Recordset& list = *d.m_rsList;
    const Bookmark remembered = list.GetBookmark();
    list.MoveFirst();
    if (*target > 1)
        list.Move(int(*target - 1));
    const int32_t id = list.Fields(QStringLiteral("ID")).Value().toInt();
    if (Misc_Functions::RecordExistsInTable(QStringLiteral("scientific_name"),
                                            QStringLiteral("scientific_name_id"), id, *d.m_objAppManager)) {
        d.m_lngID = id;
        ShowCurrentRecord();
        d.m_ui->txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
        d.m_ui->lblTotalRecords->setText(QString::number(list.RecordCount()));
        return;
    }
    d.DisplayMessage(QStringLiteral("APP046"), QString());
    list.SetBookmark(remembered);
    resetPositionBox();
}

void RecordNavigation::resetPositionBox()
{
    ScientificDetails& d = m_details;
    const bool isNew = d.m_objRecord && d.m_objRecord->IsNew();
    if (isNew)
        d.m_ui->txtCurrentRecord->setText(QString::number(rowCount() + 1));
    else if (d.m_rsList)
        d.m_ui->txtCurrentRecord->setText(QString::number(d.m_rsList->AbsolutePosition()));
}

void RecordNavigation::ShowCurrentRecord()
{
    ScientificDetails& d = m_details;
    BusyPictureScope picture(*d.m_busy, BusyPicture::Loading);
    const BusyPointer busy;
    if (d.m_objRecord)
        d.m_objRecord->UnbindField(QString());
    d.m_pages->ClearFields();
    d.m_nameType = NameTypeCode::Unknown;
    if (d.m_objRecord)
        d.m_objRecord->Release();
    d.m_objRecord = d.CreateRecord();
    d.m_objRecord->Retrieve(d.m_lngID, 0, 0);
    d.m_blnDeleted = false;
    d.m_pages->TabChange(0);
    d.m_recordExtension->RecordShown(d, QLatin1String(ScientificDetails::ComponentName),
                                     d.controlsCollection(), d.m_lngID);
    d.m_ui->lblNewRecord->setVisible(false);
}

void RecordNavigation::ShowRecordAtShownPosition()
{
    ScientificDetails& d = m_details;
    Recordset& list = *d.m_rsList;
    const int shown = d.m_ui->txtCurrentRecord->text().toInt();
    if (shown > list.RecordCount()) {
        list.MoveLast();
    } else {
        list.MoveFirst();
        if (shown > 1)
            list.Move(shown - 1);
    }
    d.m_lngID = list.Fields(QStringLiteral("ID")).Value().toInt();
    ShowCurrentRecord();
    d.m_ui->txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
    d.m_ui->lblTotalRecords->setText(QString::number(list.RecordCount()));
}

void RecordNavigation::RefreshPosition()
{
    ScientificDetails& d = m_details;
    DetailsUi& ui = *d.m_ui;
    if (!d.m_rsList || d.m_rsList->RecordCount() == 0) {
        ui.txtCurrentRecord->setText(One);
        ui.lblTotalRecords->setText(One);
        return;
    }
    Recordset& list = *d.m_rsList;
    list.MoveFirst();
    list.Find(QStringLiteral("ID = ") + QString::number(d.m_lngID));
    if (!list.IsEOF() && list.AbsolutePosition() >= 1) {
        ui.lblTotalRecords->setText(QString::number(list.RecordCount()));
        ui.txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
        return;
    }
    ui.txtCurrentRecord->setText(One);
    ui.lblTotalRecords->setText(One);
}

void RecordNavigation::ShowGotoDialog()
{
    ScientificDetails& d = m_details;
    if (!d.m_rsList)
        return;
    frmGotoRecord dialog(d.window());
    dialog.LoadRecordset(d.m_rsList);
    dialog.SetIcon(d.hostWindow()->Icon());
    dialog.ShowModal();
    const int32_t picked = dialog.GotoRecordPosition();
    if (picked > 0)
        MoveToPosition(QString::number(picked));
    dialog.Unload();
}

} // namespace bryx
