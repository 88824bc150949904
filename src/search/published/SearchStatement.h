#pragma once

#include "SearchCriteria.h"

#include <QString>

namespace bryx {

// Composes the one statement a search sends over scientific_srch_vw. Only the scientific
// name text has its quotes doubled; ID, category and level go in as they stand.
QString BuildSearchSQL(const SearchCriteria& criteria);

// The scientific-name condition for a comparison mode (0 Contains, 1 Exact Match, 2 Begins
// with, 3 Ends with, 4 Wildcard). Rewrites its arguments in place: `text` gets its quotes
// doubled and is upper-cased, `field` becomes "upper(field)". Empty when the prepared text is
// empty or the mode lies outside 0 to 4.
QString BuildNameCondition(QString& field, QString& text, int& comparison);

// False only when category, name text and ID are all empty after trimming blanks.
bool HasSearchCriteria(const SearchCriteria& criteria);

// Trims blanks (spaces only) from both ends.
QString trimBlanks(const QString& text);

} // namespace bryx
