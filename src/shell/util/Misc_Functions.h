#pragma once

#include <QList>
#include <QString>
#include <cstdint>

class QObject;

namespace bryx {

class AppManager;
class EditableGrid;
class ReferenceLink;
class ReferenceLinks;

// Small procedures both components share: readable grid headers, letting bound grids go,
// keeping display orders in step with a grid, and asking whether a record still exists.
namespace Misc_Functions {

// "scientific_name_id" becomes "Scientific Name ID" in every header cell of row 0.
void FormatGridHeaders(EditableGrid& grid);
// Calls Deactivate on every control of type "ctrlBindGrid"; every error is ignored.
void DeactivateBindGrids(const QList<QObject*>& controls);
// Gives the row object of each data row (found by keyField = RowData) the display order
// of its row: 1 for the first data row, 2 for the next, without gaps.
void RenumberDisplayOrder(const EditableGrid& grid, ReferenceLinks& rowObjects, const QString& keyField,
                          const QString& userName);
// Writes the value when it differs from the current one (a NULL current value never does)
// and stamps RecLastModUser on a stored object; true when it wrote.
bool SetRowFieldValue(ReferenceLink& rowObject, const QString& fieldName, const QString& newValue,
                      const QString& userName);
// True when "Select * from <table> where <keyField> = <id>" answers a record.
bool RecordExistsInTable(const QString& table, const QString& keyField, int32_t id, AppManager& appManager);

} // namespace Misc_Functions

} // namespace bryx
