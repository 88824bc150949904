#pragma once

#include <QString>
#include <memory>

namespace bryx {

class Collection;

// The arguments a component's DisplayMessage hands to the host's Message: the first always,
// even when empty; the second and third only when they are not empty.
std::shared_ptr<Collection> MessageArguments(const QString& strArg1, const QString& strArg2,
                                             const QString& strArg3);

} // namespace bryx
