#include "NameVocabulary.h"

#include "db/Database.h"
#include "error/Error.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace bryx::host {

QStringList NameVocabulary::wordsOf(const QString& name)
{
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const bool letter = i < name.size() && (name.at(i).isLetter() || (start >= 0 && name.at(i) == u'-'));
        if (letter && start < 0)
            start = i;
        else if (!letter && start >= 0) {
            if (i - start >= 2)
                words << name.mid(start, i - start);
            start = -1;
        }
    }
    return words;
}

QStringList NameVocabulary::load(Database& db)
{
    QSqlQuery query(db.sql());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT scientific_name FROM scientific_name")))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The names' vocabulary cannot be read: %1").arg(query.lastError().text()));
    QSet<QString> words;
    while (query.next()) {
        for (const QString& word : wordsOf(query.value(0).toString()))
            words.insert(word);
    }
    return QStringList(words.cbegin(), words.cend());
}

} // namespace bryx::host
