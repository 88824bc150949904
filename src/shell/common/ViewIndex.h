#pragma once

#include <QString>

namespace bryx {

class Collection;

// The 1-based position of the first view in the host's views collection whose
// "WORKING_LIST_TYPE" is `code` ("SNM", "REF"); -1 when none is, or there is no collection.
int FindViewIndex(const Collection* views, const QString& code);

} // namespace bryx
