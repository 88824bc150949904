#include "RecordNavigation.h"

#include "BusyPicture.h"
#include "DetailsSession.h"
#include "DetailsUi.h"
#include "RecordPages.h"
#include "RecordStore.h"
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
    return m_session.rsList ? m_session.rsList->RecordCount() : 0;
}

int RecordNavigation::shownPosition() const
{
    return int(wholeNumber(m_ui.txtCurrentRecord->text()).value_or(0));
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
    if (!wholeNumber(m_ui.txtCurrentRecord->text()))
        cancel = true;
}

void RecordNavigation::txtCurrentRecord_KeyPress(int& keyAscii)
{
    if (keyAscii != KeyAscii::Enter)
        return;
    // The Enter is spent on the move; it must not go on to press a default button as well.
    keyAscii = KeyAscii::Discard;
    MoveToPosition(m_ui.txtCurrentRecord->text());
}

void RecordNavigation::txtCurrentRecord_LostFocus()
{
    const DetailsSession& d = m_session;
    if (!d.rsList)
        return;
    const QString text = m_ui.txtCurrentRecord->text().trimmed();
    const int current = d.rsList->AbsolutePosition();
    if (text == QString::number(current))
        return;
    if (text == QString::number(rowCount() + 1) && !m_ui.lblNewRecord->isHidden())
        return;
    MoveToPosition(text);
}

void RecordNavigation::MoveToPosition(const QString& position)
{
    try {
        moveTo(position);
    } catch (const std::exception& error) {
        m_session.DisplayMessage(QStringLiteral("APP008"), Error::from(error).Description());
    }
}

void RecordNavigation::moveTo(const QString& position)
{
    DetailsSession& d = m_session;
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
    if (!m_store.CanClose())
        return;
    Recordset& list = *d.rsList;
    const Bookmark remembered = list.GetBookmark();
    list.MoveFirst();
    if (*target > 1)
        list.Move(int(*target - 1));
    const int32_t id = list.Fields(QStringLiteral("ID")).Value().toInt();
    if (Misc_Functions::RecordExistsInTable(QStringLiteral("scientific_name"),
                                            QStringLiteral("scientific_name_id"), id, *d.objAppManager)) {
        d.lngID = id;
        m_pages.ShowCurrentRecord();
        m_ui.txtCurrentRecord->setText(QString::number(list.AbsolutePosition()));
        m_ui.lblTotalRecords->setText(QString::number(list.RecordCount()));
        return;
    }
    d.DisplayMessage(QStringLiteral("APP046"), QString());
    list.SetBookmark(remembered);
    resetPositionBox();
}

void RecordNavigation::resetPositionBox()
{
    DetailsSession& d = m_session;
    const bool isNew = d.objRecord && d.objRecord->IsNew();
    if (isNew)
        m_ui.txtCurrentRecord->setText(QString::number(rowCount() + 1));
    else if (d.rsList)
        m_ui.txtCurrentRecord->setText(QString::number(d.rsList->AbsolutePosition()));
}

void RecordNavigation::ShowGotoDialog()
{
    DetailsSession& d = m_session;
    if (!d.rsList)
        return;
    frmGotoRecord dialog(d.window());
    dialog.LoadRecordset(d.rsList);
    dialog.SetIcon(d.hostWindow()->Icon());
    dialog.ShowModal();
    const int32_t picked = dialog.GotoRecordPosition();
    if (picked > 0)
        MoveToPosition(QString::number(picked));
    dialog.Unload();
}

} // namespace bryx
