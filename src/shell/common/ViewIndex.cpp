#include "ViewIndex.h"

#include "collection/Collection.h"

namespace bryx {

int FindViewIndex(const Collection* views, const QString& code)
{
    if (!views)
        return -1;
    for (int position = 1; position <= views->Count(); ++position) {
        const auto view = Collection::entryOf(views->Item(position));
        if (view && view->Contains(QStringLiteral("WORKING_LIST_TYPE"))
            && view->Item(QStringLiteral("WORKING_LIST_TYPE")).toString() == code)
            return position;
    }
    return -1;
}

} // namespace bryx
