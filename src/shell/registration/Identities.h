#pragma once

#include "hosting/RegistryFile.h"

namespace bryx::registration {

inline constexpr const char* TypeLibraryId = "{79AFE130-98CF-4214-9D3A-AAA3133DA36C}";
inline constexpr const char* TypeLibraryName = "BRYX_ScientificName";
inline constexpr const char* HelpString = "BRYX Scientific Name";
inline constexpr const char* TypeLibraryVersion = "1.0";
inline constexpr int Locale = 0x0409;
inline constexpr const char* FileVersion = "2.03.0007";

inline constexpr const char* SearchProgId = "BRYX_ScientificName.ScientificSearch";
inline constexpr const char* SearchClassId = "{68230FF6-775D-480B-892C-7F2BC8143655}";
inline constexpr const char* SearchInterfaceId = "{B8D563EF-33E6-44C3-AE51-86D8988EB14F}";
inline constexpr const char* SearchEventsId = "{2AE55EA7-2B59-4842-B6B5-E8FFC068F56B}";
inline constexpr const char* DetailsProgId = "BRYX_ScientificName.ScientificDetails";
inline constexpr const char* DetailsClassId = "{F5AB5683-C66A-4963-9824-AE7AD400FD58}";
inline constexpr const char* DetailsInterfaceId = "{EB367E74-B17A-42D7-9BED-872AAC5B90B8}";
inline constexpr const char* DetailsEventsId = "{2E2347C9-B5FB-4372-A5DC-ED71C6ED69A2}";

// What the library records when it registers, for the library file at `libraryPath`.
LibraryRegistration libraryRegistration(const QString& libraryPath);
// The path of the loaded library file that holds this code.
QString thisLibraryPath();

} // namespace bryx::registration
