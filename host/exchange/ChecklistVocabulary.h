#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace bryx::host {

// How the words of published checklists (ranks, nomenclatural codes, kingdoms) map onto this
// database's code lists, and back again for an export.
namespace ChecklistVocabulary {

// A rank as the classification-level list names it ("Species"), its place from the top of the
// hierarchy, and whether names of that rank sit below the species line.
struct Rank {
    QString levelName;
    int order = 0;
    bool lowerLevel = false;
};

// The rank for a word as checklists write it: "species", "SPECIES", "sp.", "subsp.", "ssp.",
// "var.", "forma", "f.", "association"; no value for a word that is no rank.
std::optional<Rank> rankOf(const QString& written);
// The word an export writes for a classification level ("Subspecies" -> "subspecies").
QString rankWord(const QString& levelName);

// How the name-type code list describes a type ("Botanical", "Zoological", "Ecological").
QString nameTypeDescription(QChar nameType);
// The code an export writes for a name type ("ICN", "ICZN", "ICPN").
QString nomenclaturalCodeOf(QChar nameType);

// The name category for a name of that type, from its higher classification when the checklist
// does not name the category itself.
// `groups` are the lower groups the row names (order, family), for a vertebrate known by them.
QString categoryOf(QChar nameType, const QString& kingdom, const QString& phylum, const QString& className,
                   const QStringList& groups = {});
// The kingdom an export writes for a name of that type and category.
QString kingdomOf(QChar nameType, const QString& category);

// What "taxonomicStatus" says about the name: accepted, a synonym, misapplied, or a spelling
// variant. The descriptions are those of the establishment code list.
QString establishmentOf(const QString& taxonomicStatus);

} // namespace ChecklistVocabulary

} // namespace bryx::host
