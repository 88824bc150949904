#pragma once

#include "ImportSummary.h"

#include <QSaveFile>
#include <QString>

namespace bryx::host {

// Every row an import passes over, with its reason, as a tab-separated file (file, line,
// reason) for the curator to work through. The file appears only when the import completes:
// a failed or cancelled import leaves whatever was there before.
class SkippedRowReport {
public:
    // Throws, naming the path, when the file cannot be written.
    explicit SkippedRowReport(const QString& path);
    void add(const SkippedRow& row);
    // Puts the file in place; throws when it cannot.
    void commit();

private:
    QSaveFile m_file;
};

} // namespace bryx::host
