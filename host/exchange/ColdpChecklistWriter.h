#pragma once

#include "ChecklistWriter.h"
#include "DelimitedWriter.h"

#include <QDir>

namespace bryx::host {

// A ColDP package: NameUsage.tsv, Reference.tsv with every publication (linked to a name or
// not) and metadata.yaml, tab-separated without quotes.
class ColdpChecklistWriter : public ChecklistWriter {
public:
    explicit ColdpChecklistWriter(const QString& folder);

    QStringList files() const override;
    QString namesFile() const override;
    void writeName(const StoredNames& names) override;
    void finish(Database& db, ExportSummary& summary) override;

private:
    QDir m_folder;
    DelimitedWriter m_usages;
};

} // namespace bryx::host
