#pragma once

namespace bryx {

// Registers the host object types that travel through late-bound calls (application manager,
// recordset, collection) under their full names. Component members that take them must spell
// the types in full in their signatures, e.g. std::shared_ptr<bryx::Recordset>&.
void registerHostTypes();

} // namespace bryx
