#include "NameVocabulary.h"

#include "db/Database.h"
#include "error/Error.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <memory>
#include <sqlite3.h>

namespace bryx::host {

namespace {

// Most names are plain ASCII: their letters are told apart without a table look-up.
bool isLetter(QChar c)
{
    const char16_t unit = c.unicode();
    if (unit < 0x80)
        return (unit | 0x20) >= u'a' && (unit | 0x20) <= u'z';
    return c.isLetter();
}

// Calls `take` with each word of `name`, without copying it.
template<typename Take> void forEachWord(QStringView name, Take&& take)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        const bool letter = i < name.size() && (isLetter(name[i]) || (start >= 0 && name[i] == u'-'));
        if (letter && start < 0) {
            start = i;
        } else if (!letter && start >= 0) {
            if (i - start >= 2)
                take(name.mid(start, i - start));
            start = -1;
        }
    }
}

// Every spelling one edit away from `word`, letters drawn from `alphabet`.
QStringList oneEditAway(const QString& word, const QString& alphabet)
{
    QStringList edits;
    for (qsizetype i = 0; i <= word.size(); ++i) {
        if (i < word.size())
            edits << QString(word).remove(i, 1);
        if (i + 1 < word.size()) {
            QString swapped = word;
            std::swap(swapped[i], swapped[i + 1]);
            edits << swapped;
        }
        for (const QChar letter : alphabet) {
            if (i < word.size() && word[i] != letter) {
                QString changed = word;
                changed[i] = letter;
                edits << changed;
            }
            edits << QString(word).insert(i, letter);
        }
    }
    return edits;
}

} // namespace

QStringList NameVocabulary::wordsOf(const QString& name)
{
    QStringList words;
    forEachWord(name, [&](QStringView word) { words << word.toString(); });
    return words;
}

void NameVocabulary::add(QStringView word)
{
    if (m_index.contains(word))
        return;
    m_words.push_back(std::make_unique<QString>(word.toString()));
    m_index.insert(QStringView(*m_words.back()));
}

bool NameVocabulary::contains(QStringView word) const
{
    if (m_index.contains(word))
        return true;
    if (word.isEmpty() || !word.front().isUpper())
        return false;
    const QString lowered = word.front().toLower() + word.mid(1).toString();
    return m_index.contains(QStringView(lowered));
}

QStringList NameVocabulary::nearWords(const QString& word, int limit) const
{
    static const QString alphabet = QStringLiteral("abcdefghijklmnopqrstuvwxyz-");
    QSet<QString> found;
    const QStringList first = oneEditAway(word, alphabet);
    for (const QString& candidate : first) {
        if (m_index.contains(QStringView(candidate)))
            found.insert(candidate);
    }
    // Two edits away only for words long enough that two changes still leave them recognisable.
    if (found.isEmpty() && word.size() >= 5) {
        for (const QString& once : first) {
            for (const QString& candidate : oneEditAway(once, alphabet)) {
                if (m_index.contains(QStringView(candidate)))
                    found.insert(candidate);
            }
        }
    }
    QStringList sorted(found.cbegin(), found.cend());
    sorted.sort();
    return sorted.mid(0, limit);
}

NameVocabulary NameVocabulary::load(Database& db)
{
    constexpr size_t ExpectedWords = 1 << 16;
    NameVocabulary vocabulary;
    vocabulary.m_index.reserve(qsizetype(ExpectedWords));
    const QString sql = QStringLiteral("SELECT scientific_name FROM scientific_name");
    if (db.dialect() == Dialect::SQLite) {
        // A million names are read as the engine stores them, without a copy per row.
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db.sqliteHandle(), sql.toUtf8().constData(), -1, &statement, nullptr)
            != SQLITE_OK)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("The names' vocabulary cannot be read: %1")
                            .arg(QString::fromUtf8(sqlite3_errmsg(db.sqliteHandle()))));
        const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> finalised(statement, sqlite3_finalize);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, 0));
            const qsizetype units = sqlite3_column_bytes16(statement, 0) / qsizetype(sizeof(char16_t));
            forEachWord(QStringView(text, units), [&](QStringView word) { vocabulary.add(word); });
        }
        return vocabulary;
    }
    QSqlQuery query(db.sql());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("The names' vocabulary cannot be read: %1").arg(query.lastError().text()));
    while (query.next()) {
        const QString name = query.value(0).toString();
        forEachWord(name, [&](QStringView word) { vocabulary.add(word); });
    }
    return vocabulary;
}

} // namespace bryx::host
