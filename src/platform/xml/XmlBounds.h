#pragma once

#include <QString>

namespace bryx {

// Whether an XML document is small and shallow enough to be handed to a DOM parser: a document
// nested a hundred thousand deep costs a DOM parser minutes, and a huge one its memory, where a
// streaming look costs neither. Documents of other programs (saved searches, descriptions) are
// checked before they are parsed whole.
namespace XmlBounds {

constexpr qsizetype MaxCharacters = 4 << 20;
constexpr int MaxDepth = 32;

// True for a document within both limits; false for one past either, or not well-formed.
bool acceptable(const QString& xml);

} // namespace XmlBounds

} // namespace bryx
