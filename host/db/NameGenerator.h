#pragma once

#include <cstdint>
#include <functional>

namespace bryx::host {

class Database;

// Fills a database with deterministic synthetic names for trials at scale: Latin binomials
// with authors across every name type, category and level, and association names for the
// ecological ones. The same count always gives the same names.
class NameGenerator {
public:
    // Adds `count` names; `progress` hears the number written so far now and then.
    static void generate(Database& db, int64_t count, const std::function<void(int64_t)>& progress = {});
};

} // namespace bryx::host
