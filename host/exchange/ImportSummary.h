#pragma once

#include "ChecklistRecords.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>
#include <vector>

namespace bryx::host {

// A row an import passed over, and why.
struct SkippedRow {
    RowOrigin origin;
    QString reason;
};

// Something an import took as it was but the user should know of ("rows with more fields than
// the header"), counted by kind, with the first few places it was seen.
struct ImportWarning {
    QString kind;
    qint64 count = 0;
    std::vector<SkippedRow> first; // where, and what exactly
};

// What an import did, for the summary the user reads.
struct ImportSummary {
    // How many reasons are kept: past that only the count grows.
    static constexpr size_t KeptReasons = 1000;
    // Places listed for each kind of warning.
    static constexpr size_t ListedWarnings = 3;

    QString format; // "Darwin Core Archive", "ColDP" or "Spreadsheet"
    qint64 namesRead = 0;
    qint64 imported = 0;
    qint64 updated = 0;
    qint64 alreadyPresent = 0; // same name and author in the database, left as they were
    qint64 referencesAdded = 0;
    qint64 linksAdded = 0;
    qint64 skippedRows = 0;
    qint64 untypedNames = 0; // skipped because nothing told their type, and none was chosen
    std::vector<SkippedRow> skipped;
    std::vector<ImportWarning> warnings;
    // How many names each rule gave their name type, in the order the rules first decided.
    std::vector<std::pair<QString, qint64>> nameTypeRules;

    // A row passed over; a row already passed over (its name, then the publication it gives)
    // counts once, with its first reason.
    void skip(const RowOrigin& origin, const QString& reason);
    void warn(const RowOrigin& origin, const QString& kind, const QString& detail = {});
    void countTypeRule(const QString& rule, qint64 names = 1);
    // The summary as the user reads it, one count a line, then up to `listed` skipped rows
    // with their reasons, then the warnings by kind.
    QString describe(size_t listed) const;
    // Called with every row skipped, past the kept ones too: for a report of them all.
    std::function<void(const SkippedRow&)> reportSkipped;

private:
    QSet<std::pair<QString, qint64>> m_skippedOrigins;
};

} // namespace bryx::host
