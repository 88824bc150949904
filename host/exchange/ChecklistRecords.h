#pragma once

#include "AuthorshipSplitter.h"
#include "NameParts.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <exception>
#include <optional>

namespace bryx::host {

// Where a checklist row came from, for messages: "taxon.txt, line 12".
struct RowOrigin {
    QString file;
    qint64 line = 0;
    QString text() const { return QStringLiteral("%1, line %2").arg(file).arg(line); }
};

// One name of a checklist as the package writes it, before it is mapped onto the code lists.
// The key is the package's own ID for the name (taxonID, ColDP ID); links between names use it.
struct ChecklistName {
    RowOrigin origin;
    QString key;
    QString scientificName;
    QString authorship;
    QString rank;
    QString nomenclaturalCode;
    QString kingdom;
    QString phylum;
    QString className;
    QString order;
    QString family;
    QString higherClassification; // the whole classification in one cell, "Animalia|Chordata|..."
    QString parentKey; // the parent taxon's key (parentNameUsageID, ColDP parentID)
    NameParts parts; // the name in parts, for a row that gives no whole name
    QString category; // this program's own column; absent in other packages
    QString taxonomicStatus;
    QString acceptedKey; // the accepted name's key, when it is not the name's own
    QString basionymKey;
    QString relationship; // how the name relates to its established name, as this program writes it
    // Whether the package has a column for the authorship: then a name is taken as written,
    // less an authorship repeated at its end; without one the authorship is split off the name.
    bool authorshipColumn = false;

    // The name and its authorship apart.
    NameAndAuthor nameAndAuthor() const
    {
        if (m_split)
            return *m_split;
        if (scientificName.trimmed().isEmpty())
            return {parts.assembled(typeHint() == QChar(u'A')), authorship.simplified()};
        // An authorship column left empty on a row leaves the authorship to be split off the
        // name; a community's name is never split, its words are often capitalised
        // ("Temperate Flooded & Swamp Forest").
        return authorshipColumn && (!authorship.trimmed().isEmpty() || typeHint() == QChar(u'C'))
            ? AuthorshipSplitter::withoutRepeated(scientificName, authorship)
            : AuthorshipSplitter::split(scientificName, authorship);
    }
    // Takes the name and its authorship apart ahead of their use, so that a reading thread can
    // do it while another writes the database.
    void prepare() { m_split = nameAndAuthor(); }

private:
    // The name type the row itself tells, if any: a zoological subspecies is written without
    // "subsp.", a community's name is not split.
    std::optional<QChar> typeHint() const;

    std::optional<NameAndAuthor> m_split;
};

// A publication a package describes once and names link to by its ID (ColDP Reference.tsv).
struct ChecklistReference {
    RowOrigin origin;
    QString key;
    QString code;
    QString citation;
    QString year;
};

// A name's link to a publication: either to a described reference by its key, or to one given
// in place by its citation (namePublishedIn, a References extension row).
struct ChecklistLink {
    RowOrigin origin;
    QString nameKey;
    QString referenceKey;
    QString code;
    QString citation;
    QString year;
    bool original = false;
    bool primary = false;
    // Given by the name's own row (namePublishedIn): a list of the name's references elsewhere
    // in the package comes first in the order of the name's references.
    bool fromNameRow = false;
};

// A citation put together from its parts (author, year, title, where published) for a package
// that gives none whole: the parts it lacks are left out, and a part that ends in a full stop
// ("Linnaeus, C.") takes no second one.
inline QString citationFrom(const QStringList& parts)
{
    QString citation;
    for (const QString& part : parts) {
        if (part.isEmpty())
            continue;
        if (!citation.isEmpty())
            citation += citation.endsWith(u'.') ? QStringLiteral(" ") : QStringLiteral(". ");
        citation += part;
    }
    return citation;
}

// The kind of warning both readers give for a row longer than its header.
inline QString longRowsWarning()
{
    return QStringLiteral("rows with more fields than the header (the extra fields are not read)");
}

// Where a package reader delivers what it reads, row by row.
class ChecklistSink {
public:
    virtual ~ChecklistSink() = default;
    virtual void name(const ChecklistName& name) = 0;
    virtual void reference(const ChecklistReference& reference) = 0;
    virtual void link(const ChecklistLink& link) = 0;
    // A row that cannot be read as a record; throws unless bad rows are to be skipped.
    virtual void badRow(const RowOrigin& origin, const QString& reason) = 0;
    // Something read as it was that the user should hear of, counted by its kind.
    virtual void warning(const RowOrigin& origin, const QString& kind, const QString& detail) = 0;
    // How far reading has come, in bytes of the package's data files; throws
    // ExchangeCancelled when the user has asked to stop.
    virtual void progress(qint64 done, qint64 total) = 0;
};

// The user stopped an import or export; nothing was changed.
class ExchangeCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

} // namespace bryx::host
