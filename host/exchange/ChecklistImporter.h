#pragma once

#include "ImportStaging.h"
#include "ImportSummary.h"
#include "services/UserSession.h"

#include <QDateTime>
#include <functional>
#include <optional>

namespace bryx::host {

class Database;

// How an import treats what it cannot take, and whom it tells how far it has come.
struct ImportOptions {
    // Pass over rows that cannot be imported, with their reasons in the summary, instead of
    // refusing the whole package.
    bool skipBadRows = false;
    // A name already in the database (the same name and author) takes the package's category,
    // level and established name; without this it is left as it is.
    bool update = false;
    // The name type of names that nothing in the package types ('P', 'A' or 'C'); without it
    // they are bad rows.
    std::optional<QChar> nameType;
    // Told of every row passed over, past the ones the summary keeps.
    std::function<void(const SkippedRow&)> onSkipped;
    // Called as the import goes on with how much of it is done (0-1000) and what it is doing;
    // may throw ExchangeCancelled to stop it.
    std::function<void(int permille, const QString& stage)> progress;
};

// One name of a first pass as the import would store it, for the user to look over.
struct PreviewRow {
    QString name;
    QString author;
    QString type; // "Botanical"
    QString category;
    QString level;
    QString establishedName;
};

// What a first pass over a package found: the import's own counts and reasons, without
// writing anything.
struct ImportPreview {
    static constexpr int ShownRows = 50;

    ImportSummary summary;
    qint64 importable = 0; // names that would be added or updated
    std::vector<PreviewRow> rows; // the first of them, as they would be stored

    // Rows that would be passed over for another reason than an undecided type.
    qint64 skippedForOtherReasons() const { return summary.skippedRows - summary.untypedNames; }
};

// Brings a checklist package (a Darwin Core Archive or a ColDP package, zipped or unpacked)
// into the database in one transaction: all of it, or, on an error or a cancel, nothing.
// Names keep the package's links between them (established names), whatever order they come
// in; publications are shared with those already stored that have the same citation. Every
// row written is in the audit trail as created by the importing user.
class ChecklistImporter {
public:
    ChecklistImporter(Database& db, UserSession user);
    ImportSummary import(const QString& path, const ImportOptions& options);
    // Reads the package as the import does, with bad rows passed over, and says what it would
    // do; the database is left as it was (the pass is rolled back), and its memory stays flat
    // however large the package.
    ImportPreview preview(const QString& path, ImportOptions options);

private:
    ImportSummary run(const QString& path, const ImportOptions& options, ImportPreview* preview);
    void collectPreview(ImportPreview& preview);
    // A package of which no name can be imported is refused with why, in one sentence.
    void refuseWhenNothingIsImportable(const ImportSummary& summary, qint64 untyped);
    void checkKeys(ImportStaging::Tables& tables, ImportSummary& summary, bool skipBadRows);
    void findPresentNames(ImportSummary& summary, bool update);
    void writeNames(ImportSummary& summary, qint64 lastSequence, qint64 linkedNames);
    void indexNewNameTexts();
    void updatePresentNames(ImportSummary& summary, qint64 lastSequence);
    void writeReferences(ImportStaging::Tables& tables, ImportSummary& summary, bool skipBadRows);

    Database& m_db;
    UserSession m_user;
    QDateTime m_now;
};

} // namespace bryx::host
