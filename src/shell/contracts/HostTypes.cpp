#include "HostTypes.h"

#include "AppManager.h"
#include "WindowManager.h"
#include "collection/Collection.h"
#include "recordset/Recordset.h"

namespace bryx {

void registerHostTypes()
{
    qRegisterMetaType<std::shared_ptr<bryx::AppManager>>("std::shared_ptr<bryx::AppManager>");
    qRegisterMetaType<std::shared_ptr<bryx::Recordset>>("std::shared_ptr<bryx::Recordset>");
    qRegisterMetaType<std::shared_ptr<bryx::Collection>>("std::shared_ptr<bryx::Collection>");
    qRegisterMetaType<std::shared_ptr<bryx::WindowManager>>("std::shared_ptr<bryx::WindowManager>");
}

} // namespace bryx
