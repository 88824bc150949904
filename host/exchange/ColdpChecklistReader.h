#pragma once

#include "ColdpDefaults.h"

#include <QString>

namespace bryx::host {

class ArchiveFolder;
class ChecklistSink;

// Reads a Catalogue of Life Data Package: its names from NameUsage.tsv, or from Name.tsv with
// Taxon.tsv and Synonym.tsv, and its publications from Reference.tsv. Each file is tab- or
// comma-separated (by its extension) with a header line; columns are found by name, with or
// without the "col:" prefix; file names in any case. default.yaml gives values for the columns
// rows leave empty, and Author.tsv the authorship of names that link to their authors by ID.
// metadata.yaml describes the package, not its names, and is not read.
class ColdpChecklistReader {
public:
    // Columns of this program's own, written by its exports (see DwcaChecklistReader).
    static const QString CategoryColumn;
    static const QString RelationshipColumn;
    static const QString CodeColumn;
    static const QString PrimaryColumn; // the IDs of a name's primary references

    explicit ColdpChecklistReader(const ArchiveFolder& package);
    // Whether the package holds the files of a ColDP package.
    static bool recognises(const ArchiveFolder& package);
    void read(ChecklistSink& sink) const;

private:
    const ArchiveFolder& m_package;
    ColdpDefaults m_defaults;
};

} // namespace bryx::host
