#pragma once

#include <QString>

namespace bryx::host {

// A name as an atomised checklist row gives it, in parts (Darwin Core genus, subgenus,
// specificEpithet, infraspecificEpithet, taxonRank or verbatimTaxonRank; ColDP uninomial,
// genus, infragenericEpithet, specificEpithet, infraspecificEpithet, rank).
struct NameParts {
    QString uninomial {};
    QString genus {};
    QString infrageneric {};
    QString specific {};
    QString infraspecific {};
    QString rank {}; // the rank as the row names it: "subspecies", "var."
    QString verbatimRank {}; // the marker as written in the name, when given

    bool isEmpty() const { return uninomial.isEmpty() && genus.isEmpty(); }
    // The whole name: "Abies alba subsp. apennina", "Calathus (Lindrothius) kurnakovi",
    // "Canis lupus familiaris" (a zoological subspecies takes no marker). Empty without a
    // genus or uninomial.
    QString assembled(bool zoological) const;
};

} // namespace bryx::host
