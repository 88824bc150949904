#pragma once

#include <QLatin1String>
#include <QString>
#include <initializer_list>

namespace bryx::host {

// Whether a checklist's word is one of a list, in any case ("ICZN", "iczn"): the vocabulary,
// the name-type rules and the authorship split all match words this way.
inline bool isOneOf(const QString& word, std::initializer_list<const char*> words)
{
    for (const char* candidate : words) {
        if (word.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace bryx::host
