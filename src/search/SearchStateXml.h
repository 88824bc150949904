#pragma once

#include "SearchCriteria.h"

#include <QString>
#include <optional>

namespace bryx {

// The two small XML documents a search is remembered by: SEARCH_STATE (the criteria) and
// SEARCH_PROPERTIES (the settings), each inside a BRYX root, serialised without a declaration.
namespace SearchStateXml {

inline constexpr const char* ControlName = "BRYX_SCIENTIFICNAME.SEARCH";

QString BuildSearchState(const SearchCriteria& criteria);
QString BuildSearchProperties(bool saveOnExit);

// A SEARCH_STATE as read back: each element that was present, as its text.
struct SavedState {
    std::optional<QString> nameTypeDesc;
    std::optional<QString> category;
    std::optional<QString> classificationLevel;
    std::optional<QString> id;
    std::optional<QString> comparison;
    std::optional<QString> scientificName;
};

// Null when the text is not XML or holds no BRYX/SEARCH_STATE.
std::optional<SavedState> ReadSearchState(const QString& xml);
// The SAVE_ON_EXIT setting: "True" or "False" exactly; null for anything else or nothing.
std::optional<bool> ReadSaveOnExit(const QString& xml);

// "Botanical...", "Zoological...", "Ecological..." for the name type buttons 0, 1, 2 (and the
// type chooser's captions); -1 for any other text.
QString NameTypeCaption(int nameTypeIndex);
int NameTypeIndex(const QString& caption);

} // namespace SearchStateXml

} // namespace bryx
