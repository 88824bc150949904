#include "ColdpDefaults.h"

#include <QList>

namespace bryx::host {

namespace {

QString unquoted(QString text)
{
    text = text.trimmed();
    if (text.size() >= 2
        && ((text.startsWith(u'"') && text.endsWith(u'"'))
            || (text.startsWith(u'\'') && text.endsWith(u'\''))))
        return text.mid(1, text.size() - 2);
    return text;
}

// A line less its comment: a '#' at the start or after a space, outside quotes.
QString withoutComment(const QString& line)
{
    QChar quote;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'#' && (i == 0 || line.at(i - 1).isSpace())) {
            return line.left(i);
        }
    }
    return line;
}

} // namespace

ColdpDefaults ColdpDefaults::parse(const QByteArray& yaml)
{
    ColdpDefaults defaults;
    QString table;
    for (const QByteArray& bytes : yaml.left(MaxBytes).split('\n')) {
        const QString line = withoutComment(QString::fromUtf8(bytes));
        if (line.trimmed().isEmpty())
            continue;
        const qsizetype colon = line.indexOf(u':');
        if (colon < 0)
            continue;
        const bool indented = line.front().isSpace();
        const QString key = unquoted(line.left(colon)).toLower();
        const QString value = unquoted(line.mid(colon + 1));
        if (!indented) {
            table = value.isEmpty() ? key : QString();
        } else if (!table.isEmpty() && !key.isEmpty()) {
            defaults.m_tables[table].insert(key.startsWith(QLatin1String("col:")) ? key.mid(4) : key, value);
        }
    }
    return defaults;
}

} // namespace bryx::host
