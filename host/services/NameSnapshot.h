#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QVariantMap>
#include <cstdint>

namespace bryx::host {

class Database;

// One name's stored row and the rows of its reference links, every column as it was, so that
// what a delete or a merge took away can be put back with its own IDs and values.
struct NameSnapshot {
    QJsonObject name; // column -> value
    QJsonArray links; // one object per link, column -> value

    // The name's row as the caller read it (column -> value, see readRow), with its links read
    // here; empty (no name columns) for an empty row, a name that does not exist.
    static NameSnapshot capture(Database& db, const QVariantMap& storedName);
    bool isEmpty() const { return name.isEmpty(); }
    int32_t id() const;
    QString scientificName() const;
    QString author() const;

    QJsonObject toJson() const;
    static NameSnapshot fromJson(const QJsonObject& json);

    // Inserts the name's row as captured, but with `establishedId` for the name it rests on
    // (which may itself still be missing while a group is put back); throws bryx::Error with
    // the database's reason.
    void putBackName(Database& db, const QJsonValue& establishedId) const;
    // Inserts the captured links whose reference still exists; answers how many it left out.
    int putBackLinks(Database& db) const;
};

// Whether a name with this ID is stored.
bool nameIsStored(Database& db, const QVariant& id);
// A stored value as it goes into JSON and back into a statement's binding.
QJsonValue jsonOfStored(const QVariant& value);
QVariant storedOfJson(const QJsonValue& value);
// Reads every row a statement answers, each column (lower case) -> value.
QJsonArray readRows(Database& db, const QString& sql, const QVariantList& bindings);
// Inserts one row of column -> value into `table`.
void insertRow(Database& db, const QString& table, const QJsonObject& row);

} // namespace bryx::host
