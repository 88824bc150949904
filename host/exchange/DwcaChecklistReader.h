#pragma once

#include "DwcaMeta.h"

namespace bryx::host {

class ArchiveFolder;
class ChecklistSink;

// Reads a Darwin Core Archive checklist (a Taxon core, and the References extension when there
// is one) and hands its names, and the publications they link to, to a sink. Other extensions
// are passed over.
class DwcaChecklistReader {
public:
    // Terms of this program's own, written by its exports so that what the Darwin Core terms
    // cannot say comes back on import: the name category, and how a name relates to its
    // established name.
    static const QString CategoryTerm;
    static const QString RelationshipTerm;

    explicit DwcaChecklistReader(const ArchiveFolder& package);
    // A package described otherwise than by a meta.xml of its own (a single spreadsheet).
    DwcaChecklistReader(const ArchiveFolder& package, DwcaMeta meta);
    void read(ChecklistSink& sink) const;

private:
    void check() const;

    const ArchiveFolder& m_package;
    QString m_metaName;
    DwcaMeta m_meta;
};

} // namespace bryx::host
