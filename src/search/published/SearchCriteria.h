#pragma once

#include <QString>

namespace bryx {

// The five criteria of a scientific name search as the panel's controls hold them.
struct SearchCriteria {
    int nameTypeIndex = 0; // the name type button that is on: 0 Botanical, 1 Zoological, 2 Ecological
    QString category; // name category text, or empty
    QString classificationLevel; // classification level text, or empty
    int comparison = 0; // list index of the comparison: 0 Contains .. 4 Wildcard, -1 none chosen
    QString nameText; // scientific name text as typed
    QString idText; // record ID as typed; when not empty it replaces every other criterion
};

} // namespace bryx
