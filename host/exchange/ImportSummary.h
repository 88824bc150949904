#pragma once

#include "ChecklistRecords.h"

#include <QString>
#include <vector>

namespace bryx::host {

// A row an import passed over, and why.
struct SkippedRow {
    RowOrigin origin;
    QString reason;
};

// What an import did, for the summary the user reads.
struct ImportSummary {
    // How many reasons are kept: past that only the count grows.
    static constexpr size_t KeptReasons = 1000;

    QString format; // "Darwin Core Archive" or "ColDP"
    qint64 namesRead = 0;
    qint64 imported = 0;
    qint64 updated = 0;
    qint64 alreadyPresent = 0; // same name and author in the database, left as they were
    qint64 referencesAdded = 0;
    qint64 linksAdded = 0;
    qint64 skippedRows = 0;
    std::vector<SkippedRow> skipped;

    void skip(const RowOrigin& origin, const QString& reason)
    {
        ++skippedRows;
        if (skipped.size() < KeptReasons)
            skipped.push_back({origin, reason});
    }
};

} // namespace bryx::host
