#include "MessageCatalogue.h"

#include "services/MessageBox.h"

#include <QHash>

namespace bryx::host {

namespace {

using namespace MsgBoxStyle;

const QHash<QString, MessageCatalogue::Entry>& catalogue()
{
    static const QHash<QString, MessageCatalogue::Entry> entries = {
        {"APP001",
         {"Audit Log",
          "The field that has the focus is not recorded in the audit trail. Click into a data field and try "
          "again.",
          OKOnly | Information}},
        {"APP003",
         {"Go To Record",
          "There is no record at that position. Type a number from 1 to the number of records.",
          OKOnly | Exclamation}},
        {"APP007",
         {"Save Search", "A search named \"%1\" already exists. Do you want to replace it?",
          YesNo | Question}},
        {"APP008", {"Go To Record", "The record could not be shown.\n\n%1", OKOnly | Critical}},
        {"APP009",
         {"Search Defaults", "Your default search criteria could not be loaded.\n\n%1",
          OKOnly | Exclamation}},
        {"APP010",
         {"Search Settings", "The saved search settings could not be loaded.\n\n%1", OKOnly | Exclamation}},
        {"APP011", {"Open Search", "No saved search named \"%1\" was found.", OKOnly | Exclamation}},
        {"APP012",
         {"Search Settings", "Your search settings could not be saved.\n\n%1", OKOnly | Exclamation}},
        {"APP013", {"Save Search", "The search could not be saved.\n\n%1", OKOnly | Exclamation}},
        {"APP014", {"Find", "The search could not be run.\n\n%1", OKOnly | Critical}},
        {"APP027",
         {"Copy Data From",
          "The data of the chosen record will replace the data of this record. Do you want to go on?",
          YesNo | Question}},
        {"APP028", {"Copy Data From", "Nothing was copied.", OKOnly | Information}},
        {"APP029",
         {"Copy Data From",
          "This record has changes that are not saved. They must be saved before data can be copied into it.",
          OKCancel | Question}},
        {"APP036", {"Copy Data From", "The data could not be copied.\n\n%1", OKOnly | Critical}},
        {"APP043",
         {"Find",
          "No search criteria were given, so every name will be listed. This can take a long time. Do you "
          "want to search anyway?",
          YesNo | Question}},
        {"APP046", {"Go To Record", "That record has been deleted by another user.", OKOnly | Exclamation}},
        {"SNM001",
         {"Scientific Name", "Do you want to save the changes to this scientific name?",
          YesNoCancel | Question}},
        {"SNM002",
         {"Delete Scientific Name", "Do you want to delete this scientific name? This cannot be undone.",
          YesNo | Question}},
        {"SNM003",
         {"Delete Scientific Name", "The scientific name could not be deleted.\n\n%1", OKOnly | Critical}},
        {"SNM004",
         {"Save Scientific Name", "The scientific name could not be saved.\n\n%1", OKOnly | Critical}},
        {"SNM005",
         {"Scientific Name",
          "The scientific name may be at most %1 characters long; it has %2, which is %3 too many.",
          OKOnly | Exclamation}},
        {"SNM006",
         {"Nomenclaturally Established Name", "This scientific name has no nomenclaturally established name.",
          OKOnly | Information}},
        {"SNM007", {"References", "No references are linked to this scientific name.", OKOnly | Information}},
        {"SNM008",
         {"Save Scientific Name", "A scientific name with the same name and author already exists.",
          OKOnly | Exclamation}},
        {"SNM009",
         {"Save Scientific Name",
          "An ecological community name with the same name and author already exists.",
          OKOnly | Exclamation}},
        {"MGA013", {"Open", "The %1 window could not be opened.", OKOnly | Critical}},
    };
    return entries;
}

} // namespace

std::optional<MessageCatalogue::Entry> MessageCatalogue::find(const QString& messageId)
{
    const auto& entries = catalogue();
    const auto it = entries.constFind(messageId.toUpper());
    if (it == entries.constEnd())
        return std::nullopt;
    return *it;
}

QStringList MessageCatalogue::identifiers()
{
    QStringList ids = catalogue().keys();
    ids.sort();
    return ids;
}

MessageCatalogue::Entry MessageCatalogue::compose(const QString& messageId, const QStringList& arguments)
{
    auto entry = find(messageId);
    if (!entry) {
        Entry unknown {QStringLiteral("Message"),
                       QStringLiteral("Message %1 is not in the catalogue.").arg(messageId),
                       OKOnly | Information};
        if (!arguments.isEmpty() && !arguments.join(QString()).isEmpty())
            unknown.text += QStringLiteral("\n\n") + arguments.join(QLatin1Char('\n'));
        return unknown;
    }
    // One pass, so that an argument holding "%2" is shown as it is, not filled in again.
    QString text;
    const QString& pattern = entry->text;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == QLatin1Char('%') && i + 1 < pattern.size() && pattern.at(i + 1) >= QLatin1Char('1')
            && pattern.at(i + 1) <= QLatin1Char('3')) {
            const int index = pattern.at(++i).digitValue() - 1;
            text += index < arguments.size() ? arguments[index] : QString();
        } else {
            text += c;
        }
    }
    entry->text = text.trimmed();
    return *entry;
}

} // namespace bryx::host
