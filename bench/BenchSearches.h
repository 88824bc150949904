#pragma once

#include "SearchCriteria.h"

#include <QFileInfo>
#include <QString>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdio>
#include <sqlite3.h>

namespace bryx::bench {

// The searches measured on the generated million-name database, with roughly the hit counts
// their labels say. The ID search finds the name with ID 500000, or with BRYX_BENCH_ID (a
// database generated under other roles or sequences numbers the same names differently).
struct Search {
    const char* label;
    SearchCriteria criteria;
};

inline const Search Searches[] = {
    {"contains, ~100 hits", {0, {}, {}, 0, "ella japonica var", {}}},
    {"contains, ~100k hits", {0, {}, {}, 0, "is ", {}}},
    {"begins with", {0, {}, {}, 2, "car", {}}},
    {"exact", {1, {}, {}, 1, "Xerenix caerulea", {}}},
    {"ID", {0, {}, {}, 0, {}, qEnvironmentVariable("BRYX_BENCH_ID", QStringLiteral("500000"))}},
    {"ends with, ~80 hits", {0, {}, {}, 3, "ica var. nana", {}}},
    {"wildcard", {0, {}, {}, 4, "%ella jap_nica var. alp%", {}}},
};

inline QString benchDatabasePath()
{
    return qEnvironmentVariable("BRYX_BENCH_DB", QStringLiteral("/tmp/bryx-1m.sqlite"));
}

// True when the generated database is there; otherwise says how to make it.
inline bool haveBenchDatabase()
{
    if (QFileInfo::exists(benchDatabasePath()))
        return true;
    std::fprintf(stderr,
                 "No benchmark database at %s; create it with bryx-db init and generate --names 1000000\n",
                 qPrintable(benchDatabasePath()));
    return false;
}

// What stepping a statement with the raw C API costs and yields: every row stepped and every
// column read the way a consumer must (numbers as numbers, text as UTF-8 bytes).
struct RawStep {
    int64_t rows = 0;
    int64_t valueBytes = 0; // 8 per number, the UTF-8 length of each text
};

inline RawStep stepRaw(sqlite3* handle, const QByteArray& sql)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &statement, nullptr);
    const int columns = sqlite3_column_count(statement);
    RawStep step;
    int64_t checksum = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ++step.rows;
        for (int column = 0; column < columns; ++column) {
            if (sqlite3_column_type(statement, column) == SQLITE_INTEGER) {
                checksum += sqlite3_column_int64(statement, column);
                step.valueBytes += 8;
            } else {
                const int bytes = sqlite3_column_bytes(statement, column);
                checksum += bytes + (sqlite3_column_text(statement, column) != nullptr);
                step.valueBytes += bytes;
            }
        }
    }
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(checksum);
    return step;
}

} // namespace bryx::bench
