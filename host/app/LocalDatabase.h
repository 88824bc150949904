#pragma once

#include "db/DatabaseUrl.h"

#include <QString>

namespace bryx::host {

// The embedded database a desktop user gets without asking: a SQLite file in the user's data
// folder, created with the sample names on first start.
class LocalDatabase {
public:
    // sqlite:<user data folder>/bryx.sqlite
    static DatabaseUrl defaultUrl();
    // Creates and fills the database when it is an SQLite file that does not exist yet, and
    // checks that any database has the current schema. Answers what it did, for the log.
    static QString prepare(const DatabaseUrl& url);
};

} // namespace bryx::host
