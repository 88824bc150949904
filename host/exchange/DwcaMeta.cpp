#include "DwcaMeta.h"

#include "error/Error.h"

#include <QXmlStreamReader>

namespace bryx::host {

namespace {

[[noreturn]] void refuse(const QString& source, qint64 line, const QString& why)
{
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("%1, line %2: %3").arg(source).arg(line).arg(why));
}

// Reads meta.xml element by element: a streaming reader with a depth limit keeps a hostile
// description (nested a hundred thousand deep) from costing more than a real one.
class MetaReader {
public:
    MetaReader(const QByteArray& xml, QString source)
        : m_xml(xml)
        , m_source(std::move(source))
    {
    }

    DwcaMeta read()
    {
        if (!nextElement(0))
            refuse(line(), QStringLiteral("the description holds no element"));
        if (m_xml.name() != QLatin1String("archive"))
            refuse(line(), QStringLiteral("the root element is <%1>, not <archive>").arg(m_xml.name()));
        const qint64 archiveLine = line();
        DwcaMeta meta;
        bool haveCore = false;
        while (nextElement(1)) {
            const bool core = m_xml.name() == QLatin1String("core");
            if (core || m_xml.name() == QLatin1String("extension")) {
                DwcaFile file = readFile(core);
                if (core && !haveCore) {
                    meta.core = std::move(file);
                    haveCore = true;
                } else if (!core) {
                    meta.extensions.push_back(std::move(file));
                }
            } else {
                skipElement();
            }
        }
        if (!haveCore)
            refuse(archiveLine, QStringLiteral("the archive declares no core"));
        return meta;
    }

private:
    qint64 line() const { return m_xml.lineNumber(); }
    [[noreturn]] void refuse(qint64 line, const QString& why) const
    {
        bryx::host::refuse(m_source, line, why);
    }

    void checkXml()
    {
        if (m_xml.hasError())
            refuse(line(),
                   QStringLiteral("not well-formed XML (%1, column %2)")
                       .arg(m_xml.errorString())
                       .arg(m_xml.columnNumber()));
    }

    // Moves to the next element starting inside the current one; false at its end. `depth` is
    // the depth of the element looked for, the root's 0.
    bool nextElement(int depth)
    {
        if (depth > DwcaMeta::MaxDepth)
            refuse(
                line(),
                QStringLiteral("the description is nested deeper than %1 elements").arg(DwcaMeta::MaxDepth));
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            checkXml();
            if (token == QXmlStreamReader::StartElement)
                return true;
            if (token == QXmlStreamReader::EndElement)
                return false;
        }
        checkXml();
        if (depth > 0)
            refuse(line(), QStringLiteral("not well-formed XML (Premature end of document)"));
        return false;
    }

    // Passes over the current element and all it holds, its depth bounded as ever.
    void skipElement(int depth = 2)
    {
        while (nextElement(depth))
            skipElement(depth + 1);
    }

    QString text()
    {
        QString content;
        while (!m_xml.atEnd()) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            checkXml();
            if (token == QXmlStreamReader::Characters)
                content += m_xml.text();
            else if (token == QXmlStreamReader::StartElement)
                skipElement(4);
            else if (token == QXmlStreamReader::EndElement)
                break;
        }
        return content;
    }

    QString attribute(const char* name) const
    {
        return m_xml.attributes().value(QLatin1String(name)).toString();
    }
    bool hasAttribute(const char* name) const { return m_xml.attributes().hasAttribute(QLatin1String(name)); }

    // A whole number attribute; a column index may also be written empty, for no column.
    int wholeNumber(const char* name, int largest, bool emptyIsNone)
    {
        const QString written = attribute(name);
        if (emptyIsNone && written.trimmed().isEmpty())
            return -1;
        bool ok = false;
        const qlonglong value = written.trimmed().toLongLong(&ok);
        if (!ok || value < 0)
            refuse(line(),
                   QStringLiteral("%1=\"%2\" is not a whole number").arg(QLatin1String(name), written));
        if (value > largest)
            refuse(line(),
                   QStringLiteral("%1=\"%2\" is past the last column this program reads (%3)")
                       .arg(QLatin1String(name), written)
                       .arg(largest));
        return int(value);
    }

    DwcaFile readFile(bool isCore)
    {
        DwcaFile file;
        file.declaredOnLine = int(line());
        file.rowType = attribute("rowType");
        if (hasAttribute("encoding"))
            file.encoding = attribute("encoding").trimmed();
        if (hasAttribute("fieldsTerminatedBy"))
            file.fieldsTerminatedBy = DwcaMeta::unescaped(attribute("fieldsTerminatedBy"));
        if (hasAttribute("linesTerminatedBy"))
            file.linesTerminatedBy = DwcaMeta::unescaped(attribute("linesTerminatedBy"));
        if (hasAttribute("fieldsEnclosedBy")) {
            // Declared empty: no quoting at all. Left out: the standard's double quote.
            const QString quote = DwcaMeta::unescaped(attribute("fieldsEnclosedBy"));
            file.fieldsEnclosedBy = quote.isEmpty() ? std::nullopt : std::optional<QChar>(quote.front());
        }
        if (hasAttribute("ignoreHeaderLines"))
            file.ignoreHeaderLines = wholeNumber("ignoreHeaderLines", DwcaMeta::MaxColumn, false);
        if (file.fieldsTerminatedBy.isEmpty())
            refuse(file.declaredOnLine, QStringLiteral("fieldsTerminatedBy is empty"));

        const QLatin1String idTag = isCore ? QLatin1String("id") : QLatin1String("coreid");
        while (nextElement(2)) {
            if (m_xml.name() == QLatin1String("files")) {
                while (nextElement(3)) {
                    if (m_xml.name() == QLatin1String("location") && file.location.isEmpty())
                        file.location = text().trimmed();
                    else
                        skipElement(4);
                }
            } else if (m_xml.name() == idTag) {
                if (hasAttribute("index"))
                    file.idIndex = wholeNumber("index", DwcaMeta::MaxColumn, true);
                skipElement(3);
            } else if (m_xml.name() == QLatin1String("field")) {
                file.fields.push_back(readField());
            } else {
                skipElement(3);
            }
        }
        if (file.location.isEmpty())
            refuse(file.declaredOnLine,
                   QStringLiteral("the %1 names no data file (files/location)")
                       .arg(isCore ? QStringLiteral("core") : QStringLiteral("extension")));
        return file;
    }

    DwcaField readField()
    {
        DwcaField declared;
        declared.term = attribute("term").trimmed();
        if (declared.term.isEmpty())
            refuse(line(), QStringLiteral("a field has no term"));
        declared.hasDefault = hasAttribute("default");
        declared.defaultValue = attribute("default");
        if (hasAttribute("index"))
            declared.index = wholeNumber("index", DwcaMeta::MaxColumn, true);
        else if (!declared.hasDefault)
            refuse(line(),
                   QStringLiteral("the field %1 has neither an index nor a default").arg(declared.term));
        skipElement(3);
        return declared;
    }

    QXmlStreamReader m_xml;
    QString m_source;
};

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
    const qsizetype cut = std::max({term.lastIndexOf(QLatin1Char('/')), term.lastIndexOf(QLatin1Char('#')),
                                    term.lastIndexOf(QLatin1Char(':'))});
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
    if (xml.size() > MaxBytes)
        refuse(sourceName, 1,
               QStringLiteral("the description is larger than %1 MiB, far more than any archive needs")
                   .arg(MaxBytes >> 20));
    return MetaReader(xml, sourceName).read();
}

} // namespace bryx::host
