#include "settings/registry_backend.h"

#ifdef _WIN32
#include "platform/registry_win32.h"
#else
#include "platform/registry_store.h"
#include "platform/user_folders.h"
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
