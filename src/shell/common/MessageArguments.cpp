#include "MessageArguments.h"

#include "collection/Collection.h"

namespace bryx {

std::shared_ptr<Collection> MessageArguments(const QString& strArg1, const QString& strArg2,
                                             const QString& strArg3)
{
    auto arguments = std::make_shared<Collection>();
    arguments->Add(strArg1);
    if (!strArg2.isEmpty())
        arguments->Add(strArg2);
    if (!strArg3.isEmpty())
        arguments->Add(strArg3);
    return arguments;
}

} // namespace bryx
