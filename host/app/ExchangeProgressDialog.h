#pragma once

#include <QProgressDialog>

namespace bryx::host {

// The progress of an import or export, with a Cancel button: shown from its first report
// until it goes out of scope. A report after Cancel throws ExchangeCancelled, which undoes the
// work.
class ExchangeProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    ExchangeProgressDialog(const QString& title, QWidget* parent);
    // Shows how far the work is (0-1000) and what it is doing, and lets the dialog take the
    // user's clicks.
    void report(int permille, const QString& stage);
};

} // namespace bryx::host
