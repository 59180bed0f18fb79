#pragma once

#include <memory>

#include "settings/registry_backend.h"

namespace tellwright {

// The back end of this system: the Windows registry on Windows, the store
// file named by RegistryStoreFile elsewhere.
std::unique_ptr<RegistryBackend> MakeSystemRegistryBackend();

}  // namespace tellwright
