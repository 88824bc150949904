#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace bryx::host {

// One column of a Darwin Core Archive data file as meta.xml declares it: where it is (its
// index, or none for a constant), the term it holds, and the value to use when the cell is
// empty or the column absent.
struct DwcaField {
    int index = -1; // -1: no column (index left out or written empty)
    QString term; // the full term URI as declared
    QString defaultValue; // "" when none is declared
    bool hasDefault = false;
};

// The core or an extension of an archive: which file, how its text is written, which column
// holds the record's (or, for an extension, its core record's) ID, and its fields.
struct DwcaFile {
    QString rowType;
    QString location;
    QString encoding = QStringLiteral("UTF-8");
    QString fieldsTerminatedBy = QStringLiteral(",");
    QString linesTerminatedBy = QStringLiteral("\n");
    // No value: fields are never quoted.
    std::optional<QChar> fieldsEnclosedBy = QChar(u'"');
    int ignoreHeaderLines = 0;
    int idIndex = -1; // -1: no ID column (an <id/> or <coreid/> without an index)
    int declaredOnLine = 0; // where meta.xml declares it, for messages
    // What a file that is not in its declared encoding should do, for the message.
    QString encodingAdvice = QStringLiteral("declare its encoding in meta.xml");
    std::vector<DwcaField> fields;

    // The field holding the term, given by its full URI or by its name alone
    // ("scientificName"); null when the file does not declare it.
    const DwcaField* field(const QString& term) const;
};

// meta.xml of a Darwin Core Archive, read as real archives write it: delimiters as character
// references or backslash escapes ("&#x9;", "\t"), quoting declared empty or left out (then the
// standard's double quote), column indexes that skip numbers or are written empty, default
// values, an ID element without an index. Malformed descriptions are refused with the file name
// and line; so is one nested deeper, or with columns further out, than any real description.
class DwcaMeta {
public:
    // The largest description read, in bytes, and the deepest nesting of its elements.
    static constexpr qint64 MaxBytes = 4 << 20;
    static constexpr int MaxDepth = 32;
    // The last column index a description may name: far past any published archive's.
    static constexpr int MaxColumn = 9999;

    DwcaFile core;
    std::vector<DwcaFile> extensions;

    static DwcaMeta parse(const QByteArray& xml, const QString& sourceName = QStringLiteral("meta.xml"));
    // The name part of a term URI: "http://rs.tdwg.org/dwc/terms/scientificName" -> "scientificName".
    static QString termName(const QString& term);
    // A delimiter as written in meta.xml, its escapes resolved ("\t" -> tab).
    static QString unescaped(const QString& written);
};

} // namespace bryx::host
