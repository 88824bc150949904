#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace bryx::host {

// The texts behind the message identifiers the components show, with the buttons each needs.
// "%1".."%3" stand for the arguments; an argument not given reads as empty.
class MessageCatalogue {
public:
    struct Entry {
        QString title;
        QString text;
        int style; // button set plus icon, as MsgBoxStyle composes them
    };

    static std::optional<Entry> find(const QString& messageId);
    static QStringList identifiers();
    // The finished text of a message, or a plain note for an unknown identifier.
    static Entry compose(const QString& messageId, const QStringList& arguments);
};

} // namespace bryx::host
