#pragma once

#include <QString>

namespace bryx::host {

// The full-text query that finds, in a trigram index, every text a LIKE pattern can match: each
// run of three or more characters between the pattern's wildcards is covered by trigrams side by
// side, all of which the text must hold. That is a superset of the pattern's matches, and a small
// one, from a few doclists rather than one for every trigram of the run; the pattern itself then
// decides. Empty when no run is long enough to give a trigram.
namespace TrigramMatch {

inline constexpr qsizetype TrigramLength = 3;

QString expression(const QString& likePattern);

} // namespace TrigramMatch

} // namespace bryx::host
