#include "Identities.h"

#include <dlfcn.h>

namespace bryx::registration {

LibraryRegistration libraryRegistration(const QString& libraryPath)
{
    LibraryRegistration library;
    library.typeLibraryId = QLatin1String(TypeLibraryId);
    library.typeLibraryName = QLatin1String(TypeLibraryName);
    library.helpString = QLatin1String(HelpString);
    library.typeLibraryVersion = QLatin1String(TypeLibraryVersion);
    library.locale = Locale;
    library.fileVersion = QLatin1String(FileVersion);
    library.libraryPath = libraryPath;
    library.classes = {
        {QLatin1String(SearchProgId), QLatin1String(SearchClassId), QStringLiteral("_ScientificSearch"),
         QLatin1String(SearchInterfaceId), QStringLiteral("__ScientificSearch"),
         QLatin1String(SearchEventsId)},
        {QLatin1String(DetailsProgId), QLatin1String(DetailsClassId), QStringLiteral("_ScientificDetails"),
         QLatin1String(DetailsInterfaceId), QStringLiteral("__ScientificDetails"),
         QLatin1String(DetailsEventsId)},
    };
    return library;
}

QString thisLibraryPath()
{
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&thisLibraryPath), &info) && info.dli_fname)
        return QString::fromLocal8Bit(info.dli_fname);
    return {};
}

} // namespace bryx::registration
