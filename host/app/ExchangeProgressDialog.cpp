#include "ExchangeProgressDialog.h"

#include "exchange/ChecklistRecords.h"

#include <QCoreApplication>

namespace bryx::host {

namespace {

constexpr int Whole = 1000;
constexpr int MinimumWidth = 420;

} // namespace

ExchangeProgressDialog::ExchangeProgressDialog(const QString& title, QWidget* parent)
    : QProgressDialog(parent)
{
    setObjectName(QStringLiteral("dlgChecklistProgress"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setRange(0, Whole);
    setMinimumWidth(MinimumWidth);
    // Short work finishes before the dialog would flash up.
    setMinimumDuration(500);
    setAutoClose(false);
    setAutoReset(false);
}

void ExchangeProgressDialog::report(int permille, const QString& stage)
{
    if (labelText() != stage)
        setLabelText(stage);
    setValue(std::clamp(permille, 0, Whole));
    QCoreApplication::processEvents();
    if (wasCanceled())
        throw ExchangeCancelled();
}

} // namespace bryx::host
