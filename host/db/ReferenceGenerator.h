#pragma once

#include <cstdint>
#include <functional>

namespace bryx::host {

class Database;

// Fills a database with deterministic synthetic references for trials at scale: citations with
// authors, years, titles and journals, where each journal's name is shared by about one
// reference in a thousand, so that a search for it finds a screenful. The same count always
// gives the same references.
class ReferenceGenerator {
public:
    // Adds `count` references; `progress` hears the number written so far now and then.
    static void generate(Database& db, int64_t count, const std::function<void(int64_t)>& progress = {});

    // The journal word of the generated citations that the benchmarks and tests search for.
    static const char* const SampleJournalWord;
};

} // namespace bryx::host
