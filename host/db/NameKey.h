#pragma once

struct sqlite3;

namespace bryx::host {

// How names are compared on SQLite, where the built-in upper() knows only ASCII letters.
//
// PostgreSQL's upper() changes every letter; the application's SQLite connections get the
// same under the name upper(), so that every comparison the components compose behaves alike
// on both engines. No index, generated column or constraint may use that function, though:
// any other SQLite tool (the sqlite3 shell, a browser, a backup script) has only the ASCII
// upper() and would find such an index corrupt, or rebuild it wrongly. So each name also
// carries its upper-case form in the plain column scientific_name_key, written by triggers
// that call bryx_name_key() - a function only the application has, so that another tool that
// changes a name fails loudly instead of storing a wrong key - and indexed as a plain column.
// The host runs the components' name comparisons against that column (see SqliteStatement).
namespace NameKey {

// The column that holds each name's comparison key.
inline constexpr const char* Column = "scientific_name_key";

// Registers upper() (replacing the ASCII built-in on this connection) and bryx_name_key(), both
// upper-casing exactly as the components upper-case the texts they compare (upperCaseForSql, shared with the
// components).
void registerFunctions(sqlite3* connection);

} // namespace NameKey

} // namespace bryx::host
