#include "SqliteStatement.h"

#include "TrigramMatch.h"
#include "db/NameKey.h"
#include "db/SqlText.h"

#include <QList>
#include <algorithm>
#include <optional>

namespace bryx::host {

namespace {

const QString NameComparison = QStringLiteral("upper(scientific_name)");
const QString SearchView = QStringLiteral("select * from scientific_srch_vw ");
// The search view's columns, read from the view that also carries the key.
const QString SearchViewWithKey = QStringLiteral("select ID, Scientific_Name, Author, Name_Type, Category, "
                                                 "Classification_Level from scientific_srch_key_vw ");
const QString NameTable = QStringLiteral(" from scientific_name where ");

// Where upper(scientific_name) stands outside quoted texts.
QList<qsizetype> nameComparisons(const QString& sql)
{
    QList<qsizetype> found;
    bool quoted = false;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        if (sql.at(i) == QLatin1Char('\'')) {
            quoted = !quoted; // a doubled quote inside a text toggles twice
            continue;
        }
        if (!quoted
            && QStringView(sql).mid(i, NameComparison.size()).compare(NameComparison, Qt::CaseInsensitive)
                == 0) {
            found << i;
            i += NameComparison.size() - 1;
        }
    }
    return found;
}

QString withKey(QString sql, const QList<qsizetype>& comparisons, const QString& keyColumn)
{
    for (auto at = comparisons.crbegin(); at != comparisons.crend(); ++at)
        sql.replace(*at, NameComparison.size(), keyColumn);
    return sql;
}

struct QuotedText {
    QString text;
    qsizetype closingQuote;
};

// The text of the literal whose opening quote stands just before `start`, its doubled quotes
// undone; none when it never closes.
std::optional<QuotedText> quotedTextAt(const QString& sql, qsizetype start)
{
    QString text;
    for (qsizetype i = start; i < sql.size(); ++i) {
        const QChar c = sql.at(i);
        if (c == QLatin1Char('\'')) {
            if (i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('\'')) {
                text += c; // a doubled quote is one character of the text
                ++i;
                continue;
            }
            return QuotedText {text, i};
        }
        text += c;
    }
    return std::nullopt;
}

bool isWildcard(QChar c)
{
    return c == QLatin1Char('%') || c == QLatin1Char('_');
}

// "PREFIX%": a text and one trailing percent sign, the only wildcard.
bool isBeginsWith(const QString& pattern)
{
    return pattern.size() > 1 && pattern.endsWith(QLatin1Char('%'))
        && std::none_of(pattern.cbegin(), pattern.cend() - 1, isWildcard);
}

} // namespace

QString SqliteStatement::adapted(const QString& sql, TextIndex textIndex)
{
    const QString ranged = withPrefixRange(sql);
    const QList<qsizetype> comparisons = nameComparisons(ranged);
    // One source only: in a statement with subqueries "scientific_name" might be another
    // table's column, so such a statement runs as it stands.
    const bool oneSource = ranged.count(QLatin1String(" from "), Qt::CaseInsensitive) == 1;
    if (comparisons.isEmpty() || !oneSource)
        return ranged;
    if (ranged.startsWith(SearchView, Qt::CaseInsensitive)) {
        const QString keyed = withKey(ranged, comparisons, QStringLiteral("Scientific_Name_Key"));
        const QString search = SearchViewWithKey + keyed.mid(SearchView.size());
        return textIndex == TextIndex::Used ? withTextIndex(search) : search;
    }
    // A statement over the name table alone: "select ... from scientific_name where ...".
    const qsizetype from = ranged.indexOf(NameTable, 0, Qt::CaseInsensitive);
    if (from > 0 && ranged.left(from).startsWith(QLatin1String("select "), Qt::CaseInsensitive)
        && !ranged.contains(QLatin1String(" join "), Qt::CaseInsensitive) && comparisons.first() > from)
        return withKey(ranged, comparisons, QLatin1String(NameKey::Column));
    return ranged;
}

QString SqliteStatement::withTextIndex(const QString& sql)
{
    static const QString lead = SearchViewWithKey + QStringLiteral("where Scientific_Name_Key like '");
    if (!sql.startsWith(lead))
        return sql;
    const std::optional<QuotedText> pattern = quotedTextAt(sql, lead.size());
    // Not a statement the panel composed, or a begins-with search, which has its range on the
    // key index.
    if (!pattern || isBeginsWith(pattern->text))
        return sql;
    const QString match = TrigramMatch::expression(pattern->text);
    if (match.isEmpty())
        return sql; // too short a text gives the trigrams nothing to find
    return SearchViewWithKey
        + QStringLiteral(
               "where ID in (select rowid from scientific_name_fts where scientific_name_fts match ")
        + sqlLiteral(match) + QStringLiteral(") and ")
        + sql.mid(SearchViewWithKey.size() + QStringLiteral("where ").size());
}

QString SqliteStatement::withPrefixRange(const QString& sql)
{
    static const QString lead =
        QStringLiteral("select * from scientific_srch_vw where upper(scientific_name) like '");
    if (!sql.startsWith(lead))
        return sql;
    const std::optional<QuotedText> pattern = quotedTextAt(sql, lead.size());
    if (!pattern || !isBeginsWith(pattern->text))
        return sql;
    const QString prefix = pattern->text.chopped(1);
    const qsizetype conditionEnd = pattern->closingQuote + 1;
    QList<uint> codePoints = prefix.toUcs4();
    if (codePoints.last() >= 0x10FFFF)
        return sql;
    ++codePoints.last();
    const QString upperBound =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(codePoints.constData()), codePoints.size());
    return sql.left(conditionEnd) + QStringLiteral(" and upper(scientific_name) >= ") + sqlLiteral(prefix)
        + QStringLiteral(" and upper(scientific_name) < ") + sqlLiteral(upperBound) + sql.mid(conditionEnd);
}

} // namespace bryx::host
