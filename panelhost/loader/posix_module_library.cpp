// The Linux loader. Each open is a dlopen and each close a dlclose that really unloads (the
// module is built without unique symbols), so the next open starts from fresh module state.
#include <cxxabi.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "loader/module_library.h"
#include "support/host_error.h"

namespace panelhost {

namespace {

class PosixModuleLibrary : public ModuleLibrary {
 public:
  explicit PosixModuleLibrary(void* handle) : handle_(handle) {}
  ~PosixModuleLibrary() override { dlclose(handle_); }
  PosixModuleLibrary(const PosixModuleLibrary&) = delete;
  PosixModuleLibrary& operator=(const PosixModuleLibrary&) = delete;

  void* symbol(const char* name) const override {
    dlerror();
    return dlsym(handle_, name);
  }

  std::string nameOf(const void* address) const override {
    Dl_info info{};
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_sname == nullptr) return "";
    if (info.dli_saddr != address) return "";
    int status = 0;
    char* demangled = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : info.dli_sname;
    std::free(demangled);
    // "comSwapClick(PIXPOINT*, unsigned int)" reads better as "comSwapClick".
    const auto parameters = name.find('(');
    return parameters == std::string::npos ? name : name.substr(0, parameters);
  }

 private:
  void* handle_;
};

}  // namespace

std::unique_ptr<ModuleLibrary> openModuleLibrary(const std::string& path) {
  // RTLD_NOW: a module whose references cannot all be bound fails here, not halfway through a run.
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    throw HostError("the module " + path + " could not be loaded (" +
                    (why ? why : "unknown reason") + ")");
  }
  return std::make_unique<PosixModuleLibrary>(handle);
}

std::string moduleFileName(const std::string& moduleName) { return moduleName + ".so"; }

std::string executableFolder() {
  std::vector<char> path(4096);
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return ".";
  std::string exe(path.data(), static_cast<std::size_t>(length));
  const auto slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

}  // namespace panelhost
