#pragma once

namespace bryx::host {

class Database;

// PostgreSQL keeps its own audit trail of scientific names: whichever client changes a name
// (the application, psql, another tool), triggers write the audit rows the application writes
// on SQLite, each naming the server login that made the change. Audit rows that clients add
// themselves are stamped with that login and the time, whatever they say.
namespace AuditTriggers {

// Creates (or replaces) the trigger functions and triggers.
void install(Database& db);
// True on an engine where the database writes the names' audit rows itself, so the
// application must not write them a second time.
bool auditsNames(const Database& db);
// Sets the triggers aside for the length of `work`, for data that brings its own history (the
// sample names); only the tables' owner may. Run it inside a transaction: a failure rolls the
// setting aside back with everything else.
template<typename Work> void withoutTriggers(Database& db, Work&& work);

void disable(Database& db);
void enable(Database& db);

} // namespace AuditTriggers

template<typename Work> void AuditTriggers::withoutTriggers(Database& db, Work&& work)
{
    if (!auditsNames(db)) {
        work();
        return;
    }
    disable(db);
    work();
    enable(db);
}

} // namespace bryx::host
