#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace bryx::host {

// A ColDP package's default.yaml: values for a table's columns where a row leaves them empty
// ("Name:\n  code: botanical"). Only that two-level shape is read; comments, quotes and blank
// lines are allowed, and a line of any other shape is passed over.
class ColdpDefaults {
public:
    // The most of default.yaml read: far more than any package's defaults.
    static constexpr qint64 MaxBytes = 1 << 20;

    static ColdpDefaults parse(const QByteArray& yaml);
    // The column defaults of a table, by lower-case column name ("name" -> "code" -> "botanical").
    QHash<QString, QString> of(const QString& table) const { return m_tables.value(table.toLower()); }

private:
    QHash<QString, QHash<QString, QString>> m_tables;
};

} // namespace bryx::host
