#include "SpreadsheetDialect.h"

#include "ArchiveFolder.h"
#include "error/Error.h"

#include <QIODevice>
#include <QStringDecoder>

namespace bryx::host {

namespace {

constexpr qint64 HeaderBytes = 1 << 16;

bool isDataFile(const QString& name)
{
    for (const char* suffix : {".csv", ".tsv", ".tab", ".txt"}) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// How often a character separates the header's cells, outside quotes.
int separations(const QString& line, QChar delimiter)
{
    int count = 0;
    bool quoted = false;
    for (const QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (c == delimiter && !quoted)
            ++count;
    }
    return count;
}

[[noreturn]] void refuse(const QString& member, const QString& why)
{
    throw Error(ErrorNumber::InvalidArgument, QStringLiteral("%1, line 1: %2").arg(member, why));
}

} // namespace

QString SpreadsheetDialect::soleDataFile(const ArchiveFolder& package)
{
    QString found;
    for (const QString& name : package.names()) {
        if (!isDataFile(name) || name.section(QLatin1Char('/'), -1).startsWith(QLatin1Char('.')))
            continue;
        if (!found.isEmpty())
            return {};
        found = name;
    }
    return found;
}

DwcaMeta SpreadsheetDialect::describe(const ArchiveFolder& package, const QString& member)
{
    const QByteArray start = package.readAll(member, HeaderBytes);
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        refuse(member, QStringLiteral("the file is UTF-16; save it as UTF-8"));
    QByteArray headerBytes = start.left(start.indexOf('\n') < 0 ? start.size() : start.indexOf('\n'));
    if (headerBytes.endsWith('\r'))
        headerBytes.chop(1);
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString header = utf8.decode(headerBytes);
    if (utf8.hasError())
        refuse(member,
               QStringLiteral("the text is not valid UTF-8 (save the file as UTF-8, or describe it in a "
                              "meta.xml that declares its encoding, such as Windows-1252)"));

    DwcaMeta meta;
    DwcaFile& core = meta.core;
    core.rowType = QStringLiteral("http://rs.tdwg.org/dwc/terms/Taxon");
    core.location = member;
    core.ignoreHeaderLines = 1;
    core.encodingAdvice = QStringLiteral("save the file as UTF-8");
    QChar delimiter = u'\t';
    int most = separations(header, delimiter);
    for (const QChar candidate : {QChar(u','), QChar(u';')}) {
        if (const int count = separations(header, candidate); count > most) {
            most = count;
            delimiter = candidate;
        }
    }
    core.fieldsTerminatedBy = QString(delimiter);
    // A tab-separated file is quoted only when its header is; other delimiters are
    // conventionally quoted whenever a cell holds one.
    if (delimiter == u'\t' && !header.contains(u'"'))
        core.fieldsEnclosedBy.reset();
    else
        core.fieldsEnclosedBy = QChar(u'"');

    const QStringList cells = header.split(delimiter);
    for (int i = 0; i < cells.size(); ++i) {
        QString term = cells.at(i).trimmed();
        if (term.startsWith(u'"') && term.endsWith(u'"') && term.size() >= 2)
            term = term.mid(1, term.size() - 2);
        if (term.startsWith(QChar(0xFEFF)))
            term.remove(0, 1);
        if (term.isEmpty())
            continue;
        core.fields.push_back(DwcaField {i, term, {}, false});
        const QString name = DwcaMeta::termName(term);
        if (core.idIndex < 0
            && (name.compare(QLatin1String("taxonID"), Qt::CaseInsensitive) == 0
                || name.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0))
            core.idIndex = i;
    }
    if (!core.field(QStringLiteral("scientificName")) && !core.field(QStringLiteral("genus")))
        refuse(member,
               QStringLiteral("the header names no scientificName or genus column (a spreadsheet's first "
                              "row names its columns by their Darwin Core terms)"));
    return meta;
}

} // namespace bryx::host
