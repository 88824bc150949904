#pragma once

#include <QSqlQuery>
#include <QString>
#include <vector>

namespace bryx::host {

class Database;

// One stored name as a checklist carries it.
struct NameRow {
    qint64 id = 0;
    QString name;
    QString author;
    QChar type;
    QString category;
    QString level;
    QString establishment;
    QString link;
    QString relationship;

    // Whether the link is to the accepted name (a synonym's) rather than to a basionym or
    // another related name of an accepted one.
    bool linksToAccepted() const
    {
        return !link.isEmpty() && !establishment.isEmpty() && establishment != QLatin1String("Accepted");
    }
    QString status() const { return establishment.toLower(); }
    // The name with its author, as a Darwin Core scientificName.
    QString displayName() const;
    // The checklist words of the level, the name type and the kingdom.
    QString rank() const;
    QString code() const;
    QString kingdom() const;
};

// One publication link of a stored name.
struct LinkRow {
    qint64 nameId = 0;
    QString referenceId;
    QString code;
    QString citation;
    QString year;
    bool original = false;
    bool primary = false;

    // "original", "primary", both or neither.
    QString type() const;
};

// The stored names in ID order, each with its publication links: two queries read side by
// side, so that a million names export in one pass without holding them.
class StoredNames {
public:
    explicit StoredNames(Database& db);

    qint64 total() const { return m_total; }
    bool next();
    const NameRow& row() const { return m_row; }
    const std::vector<LinkRow>& links() const { return m_links; }
    // The link to the name's original publication; null when it has none.
    const LinkRow* original() const;

private:
    void advanceLink();

    qint64 m_total = 0;
    QSqlQuery m_names;
    QSqlQuery m_linkQuery;
    bool m_hasLink = false;
    LinkRow m_nextLink;
    NameRow m_row;
    std::vector<LinkRow> m_links;
};

} // namespace bryx::host
