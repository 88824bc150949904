#include "DwcaMeta.h"

#include "error/Error.h"

#include <QDomDocument>
#include <QDomElement>

namespace bryx::host {

namespace {

[[noreturn]] void refuse(const QString& source, int line, const QString& why)
{
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("%1, line %2: %3").arg(source).arg(line).arg(why));
}

int wholeNumber(const QDomElement& element, const QString& attribute, const QString& source)
{
    bool ok = false;
    const int value = element.attribute(attribute).trimmed().toInt(&ok);
    if (!ok || value < 0)
        refuse(
            source, element.lineNumber(),
            QStringLiteral("%1=\"%2\" is not a whole number").arg(attribute, element.attribute(attribute)));
    return value;
}

DwcaFile readFile(const QDomElement& element, const QString& source, bool isCore)
{
    DwcaFile file;
    file.rowType = element.attribute(QStringLiteral("rowType"));
    if (element.hasAttribute(QStringLiteral("encoding")))
        file.encoding = element.attribute(QStringLiteral("encoding")).trimmed();
    if (element.hasAttribute(QStringLiteral("fieldsTerminatedBy")))
        file.fieldsTerminatedBy =
            DwcaMeta::unescaped(element.attribute(QStringLiteral("fieldsTerminatedBy")));
    if (element.hasAttribute(QStringLiteral("linesTerminatedBy")))
        file.linesTerminatedBy = DwcaMeta::unescaped(element.attribute(QStringLiteral("linesTerminatedBy")));
    if (element.hasAttribute(QStringLiteral("fieldsEnclosedBy"))) {
        // Declared empty: no quoting at all. Left out: the standard's double quote.
        const QString quote = DwcaMeta::unescaped(element.attribute(QStringLiteral("fieldsEnclosedBy")));
        file.fieldsEnclosedBy = quote.isEmpty() ? std::nullopt : std::optional<QChar>(quote.front());
    }
    if (element.hasAttribute(QStringLiteral("ignoreHeaderLines")))
        file.ignoreHeaderLines = wholeNumber(element, QStringLiteral("ignoreHeaderLines"), source);
    if (file.fieldsTerminatedBy.isEmpty())
        refuse(source, element.lineNumber(), QStringLiteral("fieldsTerminatedBy is empty"));

    const QDomElement location =
        element.firstChildElement(QStringLiteral("files")).firstChildElement(QStringLiteral("location"));
    file.location = location.text().trimmed();
    if (file.location.isEmpty())
        refuse(source, element.lineNumber(),
               QStringLiteral("the %1 names no data file (files/location)")
                   .arg(isCore ? QStringLiteral("core") : QStringLiteral("extension")));

    const QString idTag = isCore ? QStringLiteral("id") : QStringLiteral("coreid");
    const QDomElement id = element.firstChildElement(idTag);
    if (!id.isNull())
        file.idIndex = wholeNumber(id, QStringLiteral("index"), source);

    for (QDomElement field = element.firstChildElement(QStringLiteral("field")); !field.isNull();
         field = field.nextSiblingElement(QStringLiteral("field"))) {
        DwcaField declared;
        declared.term = field.attribute(QStringLiteral("term")).trimmed();
        if (declared.term.isEmpty())
            refuse(source, field.lineNumber(), QStringLiteral("a field has no term"));
        declared.hasDefault = field.hasAttribute(QStringLiteral("default"));
        declared.defaultValue = field.attribute(QStringLiteral("default"));
        if (field.hasAttribute(QStringLiteral("index")))
            declared.index = wholeNumber(field, QStringLiteral("index"), source);
        else if (!declared.hasDefault)
            refuse(source, field.lineNumber(),
                   QStringLiteral("the field %1 has neither an index nor a default").arg(declared.term));
        file.fields.push_back(declared);
    }
    return file;
}

} // namespace

const DwcaField* DwcaFile::field(const QString& term) const
{
    const bool nameOnly = !term.contains(QLatin1Char('/'));
    for (const DwcaField& declared : fields) {
        if (declared.term == term
            || (nameOnly && DwcaMeta::termName(declared.term).compare(term, Qt::CaseInsensitive) == 0))
            return &declared;
    }
    return nullptr;
}

QString DwcaMeta::termName(const QString& term)
{
    const qsizetype cut = std::max(term.lastIndexOf(QLatin1Char('/')), term.lastIndexOf(QLatin1Char('#')));
    return cut < 0 ? term : term.mid(cut + 1);
}

QString DwcaMeta::unescaped(const QString& written)
{
    QString text;
    for (qsizetype i = 0; i < written.size(); ++i) {
        if (written[i] == u'\\' && i + 1 < written.size()) {
            const QChar next = written[++i];
            if (next == u't')
                text += QLatin1Char('\t');
            else if (next == u'n')
                text += QLatin1Char('\n');
            else if (next == u'r')
                text += QLatin1Char('\r');
            else
                text += next;
        } else {
            text += written[i];
        }
    }
    return text;
}

DwcaMeta DwcaMeta::parse(const QByteArray& xml, const QString& sourceName)
{
    QDomDocument document;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(xml, false, &message, &line, &column))
        refuse(sourceName, line,
               QStringLiteral("not well-formed XML (%1, column %2)").arg(message).arg(column));
    const QDomElement archive = document.documentElement();
    if (archive.tagName() != QLatin1String("archive"))
        refuse(sourceName, archive.lineNumber(),
               QStringLiteral("the root element is <%1>, not <archive>").arg(archive.tagName()));
    const QDomElement core = archive.firstChildElement(QStringLiteral("core"));
    if (core.isNull())
        refuse(sourceName, archive.lineNumber(), QStringLiteral("the archive declares no core"));
    DwcaMeta meta;
    meta.core = readFile(core, sourceName, true);
    for (QDomElement extension = archive.firstChildElement(QStringLiteral("extension")); !extension.isNull();
         extension = extension.nextSiblingElement(QStringLiteral("extension")))
        meta.extensions.push_back(readFile(extension, sourceName, false));
    return meta;
}

} // namespace bryx::host
