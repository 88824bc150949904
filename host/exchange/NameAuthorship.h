#pragma once

#include <QString>

namespace bryx::host {

// A scientific name and its authorship as the database keeps them: apart.
struct NameAndAuthor {
    QString name;
    QString author;
};

// Takes a checklist's scientific name and authorship apart. Checklists write the authorship in
// its own column, repeated at the end of the name, or only in the name ("Abies alba Mill.",
// "Vulpes vulpes (Linnaeus, 1758)", "Abies Mill.", "Fagion sylvaticae Luquet 1926"). The name
// ends before the first word that cannot belong to it: epithets and rank words are lower case,
// a hybrid sign or a quoted cultivar belongs to the name, and so does a subgenus in brackets
// followed by an epithet; anything else after the first word starts the authorship.
NameAndAuthor splitAuthorship(const QString& scientificName, const QString& authorship);
// The name as written, less the authorship when it is repeated at its end: for packages that
// give every name's authorship in a column of its own.
NameAndAuthor withoutRepeatedAuthorship(const QString& scientificName, const QString& authorship);

} // namespace bryx::host
