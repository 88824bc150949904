#pragma once

#include <QString>

namespace bryx {

// The text of a quoted SQL literal, its quotes doubled: what goes between the two quotes the
// components write around a value in the statements they compose.
QString doubledQuotes(const QString& text);

// Upper-cases one code point at a time, so the text keeps its length and matches what the
// database's upper() makes of the stored names (no "ß" to "SS" expansion).
QString upperCaseForSql(const QString& text);

} // namespace bryx
