#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace bryx::host {

struct ChecklistName;

// Works out whether a checklist's name is botanical ('P'), zoological ('A') or an ecological
// community ('C') from what its own row says, in this order: the nomenclatural code, the
// kingdom, then the higher classification (phylum, class, order, family, higherClassification,
// and the name itself when it is one of those): a table of well-known higher taxa and the
// family endings (-aceae botanical, -idae zoological). The parent chain and the user's choice
// come after these and are the import's to apply: they need the other rows.
namespace NameTypeRules {

// Which rule decided, as the summary and the help name them.
inline const QString ByCode = QStringLiteral("the nomenclatural code");
inline const QString ByKingdom = QStringLiteral("the kingdom");
inline const QString ByClassification = QStringLiteral("the higher classification");
inline const QString ByCategory = QStringLiteral("the name category");
inline const QString ByParent = QStringLiteral("the parent or accepted name");
inline const QString ByChoice = QStringLiteral("the name type chosen for the import");
// Why a name none of the rules typed, and for which no type was chosen, is passed over.
inline const QString UndecidedReason =
    QStringLiteral("nothing on the row or above it tells whether the name is botanical, zoological or a "
                   "community; choose a name type for the import");

struct Finding {
    std::optional<QChar> type;
    QString rule; // which rule decided, when one did
    // Why the row can have no type in this database ("kingdom Bacteria ..."): then no later
    // rule is tried.
    QString refusal;
};

Finding fromRow(const ChecklistName& row);
// The type a higher taxon's name tells, from the table or its ending; no value for any other.
std::optional<QChar> typeOfHigherTaxon(const QString& name);
// The name type a user gives on a command line ("botanical", "zoological", "ecological", or
// the code letter); no value for anything else.
std::optional<QChar> typeNamed(const QString& written);

} // namespace NameTypeRules

} // namespace bryx::host
