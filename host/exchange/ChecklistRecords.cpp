#include "ChecklistRecords.h"

#include "NameTypeRules.h"

namespace bryx::host {

std::optional<QChar> ChecklistName::typeHint() const
{
    return NameTypeRules::fromRow(*this).type;
}

} // namespace bryx::host
