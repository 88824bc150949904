#pragma once

// The four entry points of a self-registering component library, with C linkage so that a
// host can find them in the library file by name. Results follow the familiar codes:
// 0 success (S_OK), 1 "no" (S_FALSE), negative on failure.
extern "C" {
int DllRegisterServer();
int DllUnregisterServer();
// Answers the component class of a class identifier ("{...}") through `factory`
// (a const bryx::ComponentClass*), or CLASS_E_CLASSNOTAVAILABLE.
int DllGetClassObject(const char* classId, const void** factory);
// 0 when no component of the library is alive, 1 otherwise.
int DllCanUnloadNow();
}

namespace bryx::registration {
inline constexpr int S_Ok = 0;
inline constexpr int S_False = 1;
inline constexpr int E_Fail = int(0x80004005);
inline constexpr int ClassNotAvailable = int(0x80040111);
} // namespace bryx::registration
