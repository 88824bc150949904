#pragma once

#include <QString>
#include <QStringList>

namespace bryx::host {

// How two stored names are told to be the same one written twice. Each rule is a key: two
// names are duplicates under a rule when their keys are equal (the spelling rule also pairs
// names one edit apart, which no key can say).
namespace DuplicateRules {

// The name as the save's duplicate test compares it: upper-cased the Unicode way.
QString nameKey(const QString& name);
// The author as the save's duplicate test compares it.
QString authorKey(const QString& author);
// The author with the differences that do not make another author folded away: case and
// diacritics, spaces and full stops around initials, commas before a year, "&", "et" and "and".
// A parenthesised basionym author stays part of it: "(L.) Mill." is not "L. Mill.".
QString equivalentAuthorKey(const QString& author);

// A name's parts for the spelling rule: the genus, then the other words with hybrid signs
// dropped ("× Abies", "Abies ×alba", "Abies x alba" all read Abies alba).
QStringList spellingWords(const QString& name);
// An epithet with its Latin gender or declension ending made one: -us/-a/-um end alike, as
// do -is/-e and -i/-ii, and "ae" reads "e".
QString epithetStem(const QString& epithet);
// Whether the two texts are at most one insertion, deletion or substitution apart.
bool oneEditApart(const QString& left, const QString& right);

} // namespace DuplicateRules

} // namespace bryx::host
