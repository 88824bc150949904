#pragma once

#include <cstdint>
#include <memory>

namespace bryx {

class Recordset;
class ResultGrid;

// Procedures that move rows between client-side recordsets in memory: from a search result
// into the host's working list, into a one-row recordset for a details window, or into a
// list after a record was created. Rows are matched by their numeric "ID" field. Apart from
// MergeRecord, errors reach the caller, and rows added before an error stay added.
namespace RS_Functions {

// Puts the list on the row of that ID; false (and the list past its end) when it holds none.
bool FindByID(Recordset& list, int32_t id);
// Appends the grid's selected rows from source to target, skipping IDs the target holds,
// then rebuilds the target once so that no change is pending.
void AddSelectedRows(const ResultGrid& grid, Recordset& source, Recordset& target);
// Replaces the target's rows by the selected rows; with no selection the target is kept.
void ReplaceWithSelectedRows(const ResultGrid& grid, Recordset& source, Recordset& target);
// Replaces target by a one-row recordset holding the grid's current row.
void CopyCurrentRow(const ResultGrid& grid, Recordset& source, std::shared_ptr<Recordset>& target);
// Drops every row and keeps the fields, leaving the recordset open with no filter.
void EmptyRecordset(Recordset& recordset);
// Adds the source's current record to the target, or overwrites the target's row with the
// same ID. Answers 1 merged, 0 nothing to merge, -1 failed (after telling the user).
int MergeRecord(Recordset& source, Recordset& target);
// Replaces target by an open, empty recordset with the source's columns; all but the ID
// and three numeric key fields become text of the same defined size.
void CreateEmptyCopy(const Recordset& source, std::shared_ptr<Recordset>& target);

} // namespace RS_Functions

} // namespace bryx
