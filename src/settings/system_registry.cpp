#include "settings/registry_backend.h"

#ifdef _WIN32
#include "settings/registry_win32.h"
#else
#include "settings/registry_store.h"
#include "settings/user_folders.h"
#endif

namespace tellwright {

std::unique_ptr<RegistryBackend> MakeSystemRegistryBackend() {
#ifdef _WIN32
  return MakeWin32RegistryBackend();
#else
  return RegistryStore::ForUser(ProcessEnvironment());
#endif
}

}  // namespace tellwright
