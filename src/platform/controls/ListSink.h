#pragma once

#include <QString>

namespace bryx {

// A list the lookup loaders fill: a combo box on the panel, or anything that takes items.
class ListSink {
public:
    virtual ~ListSink() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString& item) = 0;
};

} // namespace bryx
