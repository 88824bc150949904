#pragma once

#include <QStringList>

namespace bryx::host {

class Database;

// Creates and upgrades the reference schema, the same on SQLite and PostgreSQL but for the
// few statements where the dialects differ. The version lives in schema_version.
class Schema {
public:
    static constexpr int CurrentVersion = 8;
    // What stands for a straight quote in a code-list text (version 6).
    static constexpr char16_t TypographicApostrophe = u'\u2019';
    // Version 3: at most one original publication among a name's reference links.
    static const char* const OneOriginalReferenceIndex;

    // The version a database is at; 0 for an empty database.
    static int version(Database& db);
    // Brings the database to CurrentVersion; refuses a database newer than this program.
    static void upgrade(Database& db);
    // Problems found in the schema (missing tables, views, indexes; on SQLite also what the
    // engine's integrity check and the name keys say), each with its repair; empty when all is well.
    static QStringList check(Database& db);
    // SQLite: rewrites the name keys that differ from the application's upper case; answers
    // how many. Nothing to do on PostgreSQL.
    static int repairNameKeys(Database& db);

    // A condition true where the column's text holds a straight single quote.
    static QString straightQuoteIn(const Database& db, const QString& column);

private:
    static QStringList sqliteProblems(Database& db, int version);
};

} // namespace bryx::host
