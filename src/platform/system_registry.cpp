#include "platform/system_registry.h"

#ifdef _WIN32
#include "platform/registry_win32.h"
#else
#include "os/user_folders.h"
#include "platform/registry_store.h"
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
