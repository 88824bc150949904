#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace bryx::host {

class Database;

// One change of a name as its history shows it: what a field held before and after.
struct HistoryEntry {
    int32_t auditLogId = 0;
    QString date; // "yyyy-MM-dd HH:mm:ss", UTC
    QString user;
    QChar action; // 'I' created, 'U' changed, 'D' deleted
    QString column; // empty for a creation
    QString field; // the column as a curator reads it
    QVariant oldValue;
    QVariant newValue; // from the next change of the same column, else what is stored now
    // The two values as a curator reads them: a code or an established name as its text and ID,
    // "Abies alba (1002)"; empty for no value. A merge's old text is its note; a creation or
    // deletion has no new text.
    QString oldText;
    QString newText;
    QString comment;
    bool isMerge = false;
    bool latestOfColumn = false; // nothing changed the column after it
};

// A name's audit trail read as a history, oldest first.
class NameHistory {
public:
    static std::vector<HistoryEntry> of(Database& db, int32_t nameId);
    // "author_name" -> "Author"; an unknown column as it is.
    static QString fieldOf(const QString& column);
};

} // namespace bryx::host
