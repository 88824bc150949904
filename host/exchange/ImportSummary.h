#pragma once

#include "ChecklistRecords.h"

#include <QString>
#include <QStringList>
#include <algorithm>
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

    // The summary as the user reads it, one count a line, then up to `listed` skipped rows
    // with their reasons.
    QString describe(size_t listed) const
    {
        QStringList lines {QStringLiteral("names read: %1").arg(namesRead),
                           QStringLiteral("names imported: %1").arg(imported)};
        if (updated > 0)
            lines << QStringLiteral("names updated: %1").arg(updated);
        if (alreadyPresent > 0)
            lines << QStringLiteral("already in the database: %1 (left as they were; updating changes them)")
                         .arg(alreadyPresent);
        lines << QStringLiteral("references added: %1").arg(referencesAdded)
              << QStringLiteral("reference links added: %1").arg(linksAdded)
              << QStringLiteral("rows skipped: %1").arg(skippedRows);
        for (size_t i = 0; i < skipped.size() && i < listed; ++i)
            lines << QStringLiteral("    %1: %2").arg(skipped[i].origin.text(), skipped[i].reason);
        const qint64 unlisted = skippedRows - qint64(std::min(listed, skipped.size()));
        if (unlisted > 0)
            lines << QStringLiteral("    ... and %1 more").arg(unlisted);
        return lines.join(QLatin1Char('\n'));
    }
};

} // namespace bryx::host
