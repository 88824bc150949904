#pragma once

#include <QString>

namespace bryx::host {

// What the host runs on SQLite for a statement a component composed: the same rows and
// columns, by a plan that uses the indexes this engine has.
namespace SqliteStatement {

// Whether a search for text anywhere in a name goes through the trigram index of name keys
// (see withTextIndex); without it, it is compared row by row as before that index existed.
enum class TextIndex { Used, Unused };

// Name comparisons on upper(scientific_name), of a search over scientific_srch_vw or of a
// statement over the scientific_name table alone, run against the stored name key (see
// NameKey), whose plain index serves equality and prefix searches and which costs no function
// call per row in a full scan. Every other statement is run as it stands.
QString adapted(const QString& sql, TextIndex textIndex = TextIndex::Used);

// A search whose name pattern has a run of three or more characters between its wildcards
// ("contains", "ends with", most wildcard patterns) first takes the names the trigram index of
// name keys finds for the same pattern, a superset of the answer; the statement's own condition
// then decides, so the rows are the same. A begins-with search keeps its range.
QString withTextIndex(const QString& keyedSearch);

// SQLite cannot use an index for LIKE, so a search that begins with
// "upper(scientific_name) like 'PREFIX%'" also gets the equivalent range on the same
// expression. The answer is unchanged; only the plan improves.
QString withPrefixRange(const QString& sql);

} // namespace SqliteStatement

} // namespace bryx::host
