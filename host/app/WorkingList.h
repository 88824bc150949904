#pragma once

#include <cstdint>
#include <memory>

namespace bryx {
class Recordset;
} // namespace bryx

namespace bryx::host {

class SqlAppManager;

// The user's working list of scientific names: the list view shows it, the search panel fills
// it, and the details windows opened from it page through it. Its rows are found, added, read
// again after a save and removed by the name's ID.
class WorkingList {
public:
    enum class Added { AlreadyThere, Added, NoSuchName };

    explicit WorkingList(std::shared_ptr<SqlAppManager> appManager);

    const std::shared_ptr<Recordset>& records() const { return m_records; }
    // Appends the stored name's row unless the list holds it already.
    Added add(int32_t id);
    // Reads a saved name's row again; false when the list lacks it.
    bool refresh(int32_t id);
    // Drops the name's row from `list` (this one or one a details window was handed); false
    // when the list holds none.
    static bool remove(Recordset& list, int32_t id);

private:
    // The working-list row of a stored name (no row when there is no such name).
    std::shared_ptr<Recordset> storedRow(int32_t id);
    // Writes the first row of `from` into the current (or new) row of `to`, field by name.
    static void copyFields(Recordset& from, Recordset& to);

    std::shared_ptr<SqlAppManager> m_appManager;
    std::shared_ptr<Recordset> m_records;
};

} // namespace bryx::host
