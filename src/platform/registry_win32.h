#pragma once

#include <memory>

#include "settings/registry_backend.h"

namespace tellwright {

#ifdef _WIN32
// The Windows registry through the wide (UTF-16) functions, with key names,
// value names and string values in UTF-8 as file names are here; windows.h
// stays inside the implementation so that its macros do not reach the
// editor's code.
std::unique_ptr<RegistryBackend> MakeWin32RegistryBackend();
#endif

}  // namespace tellwright
