#pragma once

#include "ChecklistWriter.h"
#include "DelimitedWriter.h"

#include <QDir>

namespace bryx::host {

// A Darwin Core Archive: a Taxon core (taxon.txt) with the References extension
// (reference.txt), both tab-separated and quoted where needed, described by meta.xml.
class DwcaChecklistWriter : public ChecklistWriter {
public:
    explicit DwcaChecklistWriter(const QString& folder);

    QStringList files() const override;
    QString namesFile() const override;
    void writeName(const StoredNames& names) override;
    void finish(Database& db, ExportSummary& summary) override;

private:
    QDir m_folder;
    DelimitedWriter m_taxa;
    DelimitedWriter m_references;
};

} // namespace bryx::host
