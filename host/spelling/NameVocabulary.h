#pragma once

#include <QStringList>

namespace bryx::host {

class Database;

// Every word of the scientific names stored in the database, once each: genera, epithets, the
// words of association names. Rank marks ("subsp.", "var.") count as words too, without
// their point.
class NameVocabulary {
public:
    static QStringList load(Database& db);
    // The words of one name as the vocabulary takes them.
    static QStringList wordsOf(const QString& name);
};

} // namespace bryx::host
