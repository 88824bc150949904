#include "SearchStatement.h"

#include "common/SqlText.h"

#include <QList>

namespace bryx {

QString BuildSearchSQL(const SearchCriteria& criteria)
{
    QString where;
    if (!criteria.idText.isEmpty()) {
        where = QStringLiteral("ID='") + criteria.idText + QLatin1Char('\'');
    } else {
        QString field = QStringLiteral("scientific_name");
        QString text = criteria.nameText;
        int comparison = criteria.comparison;
        where = BuildNameCondition(field, text, comparison);
        if (!where.isEmpty())
            where += QStringLiteral(" and ");
        switch (criteria.nameTypeIndex) {
        case 0:
            where += QStringLiteral("name_type='P' ");
            break;
        case 1:
            where += QStringLiteral("name_type='A' ");
            break;
        default:
            where += QStringLiteral("name_type='C' ");
            break;
        }
        if (!criteria.category.isEmpty()) {
            if (!where.isEmpty())
                where += QStringLiteral(" and ");
            where += QStringLiteral("category='") + criteria.category + QLatin1Char('\'');
        }
        if (!criteria.classificationLevel.isEmpty()) {
            if (!where.isEmpty())
                where += QStringLiteral(" and ");
            where +=
                QStringLiteral("classification_level='") + criteria.classificationLevel + QLatin1Char('\'');
        }
    }
    if (where.isEmpty())
        return QStringLiteral("select * from scientific_srch_vw");
    return QStringLiteral("select * from scientific_srch_vw where ") + where;
}

QString BuildNameCondition(QString& field, QString& text, int& comparison)
{
    text = upperCaseForSql(doubledQuotes(text));
    field = QStringLiteral("upper(") + field + QLatin1Char(')');
    if (text.isEmpty() || comparison < 0 || comparison > 4)
        return {};
    switch (comparison) {
    case 0:
        return field + QStringLiteral(" like '%") + text + QStringLiteral("%'");
    case 1:
        return field + QStringLiteral(" = '") + text + QLatin1Char('\'');
    case 2:
        return field + QStringLiteral(" like '") + text + QStringLiteral("%'");
    case 3:
        return field + QStringLiteral(" like '%") + text + QLatin1Char('\'');
    default:
        return field + QStringLiteral(" like '") + text + QLatin1Char('\'');
    }
}

bool HasSearchCriteria(const SearchCriteria& criteria)
{
    return !(trimBlanks(criteria.category).isEmpty() && trimBlanks(criteria.nameText).isEmpty()
             && trimBlanks(criteria.idText).isEmpty());
}

QString trimBlanks(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && text.at(last - 1) == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

} // namespace bryx
