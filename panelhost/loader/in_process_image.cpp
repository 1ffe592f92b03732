#include "loader/in_process_image.h"

#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>

#include <cstdlib>
#include <cstring>
#include <utility>

#include "services/host_services.h"
#include "support/abi_boundary.h"

namespace panelhost {

namespace {

using Word = std::uintptr_t;

// The module calls it with its arguments alone: the pool is reached through the running host.
template <int Entry>
PANELHOST_ABI_BOUNDARY Word trampoline(Word a0, Word a1, Word a2, Word a3, Word a4, Word a5) {
  // Words past the service's own count are whatever the caller left in the registers.
  const HostArguments arguments{a0, a1, a2, a3, a4, a5, 0, 0};
  return static_cast<Word>(HostServices::running().trampolines().invoke(Entry, arguments));
}

using TrampolineFunction = Word (*)(Word, Word, Word, Word, Word, Word);

template <int... Entries>
constexpr auto trampolineTable(std::integer_sequence<int, Entries...>) {
  return std::array<TrampolineFunction, sizeof...(Entries)>{&trampoline<Entries>...};
}

constexpr auto kTrampolines =
    trampolineTable(std::make_integer_sequence<int, TrampolinePool::kSize>{});

template <typename Result, typename... Words>
PANELHOST_ABI_BOUNDARY Result callWith(ModuleAddress function, Words... words) {
  using Function = Result (*)(decltype(static_cast<Word>(words))...);
  return reinterpret_cast<Function>(static_cast<Word>(function))(static_cast<Word>(words)...);
}

// Out of line, so that the call path itself stays a few instructions: every element callback of
// every update cycle takes it.
[[noreturn]] __attribute__((noinline, cold)) void throwNullFunction(const std::string& entry) {
  throw ModuleFault(entry + " is a null function");
}
[[noreturn]] __attribute__((noinline, cold)) void throwTooManyArguments() {
  throw std::logic_error("a module call with more than four arguments");
}

template <typename Result>
Result callModule(ModuleAddress function, const std::uint64_t* a, std::size_t count,
                  const std::string& entry) {
  if (function == 0) throwNullFunction(entry);
  switch (count) {
    case 0:
      return callWith<Result>(function);
    case 1:
      return callWith<Result>(function, a[0]);
    case 2:
      return callWith<Result>(function, a[0], a[1]);
    case 3:
      return callWith<Result>(function, a[0], a[1], a[2]);
    case 4:
      return callWith<Result>(function, a[0], a[1], a[2], a[3]);
    default:
      throwTooManyArguments();
  }
}

std::string demangledName(const char* symbol) {
  int status = 0;
  char* demangled = ::abi::__cxa_demangle(symbol, nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : symbol;
  std::free(demangled);
  // "comSwapClick(PIXPOINT*, unsigned int)" reads better as "comSwapClick".
  const auto parameters = name.find('(');
  return parameters == std::string::npos ? name : name.substr(0, parameters);
}

void* pointerAt(ModuleAddress at) { return reinterpret_cast<void*>(static_cast<Word>(at)); }

}  // namespace

std::unique_ptr<InProcessImage> InProcessImage::open(const std::string& path,
                                                     TrampolinePool& trampolines) {
  // RTLD_NOW: a module whose references cannot all be bound fails here, not halfway through a run.
  // A name without a folder is the file in the working folder, not one the loader would look for
  // along its library path.
  const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = dlerror();
    throw HostError("the module " + path + " could not be loaded (" +
                    (why ? why : "unknown reason") + ")");
  }
  return std::unique_ptr<InProcessImage>(new InProcessImage(path, handle, trampolines));
}

std::unique_ptr<InProcessImage> InProcessImage::thisProcess(TrampolinePool& trampolines) {
  auto image = std::unique_ptr<InProcessImage>(
      new InProcessImage("(this program)", RTLD_DEFAULT, trampolines));
  image->ownsHandle_ = false;
  return image;
}

InProcessImage::~InProcessImage() {
  if (ownsHandle_) dlclose(handle_);
  for (int entry : entries_) trampolines_.release(entry);
}

void InProcessImage::read(ModuleAddress at, void* into, std::size_t bytes) const {
  if (at == 0) throw ModuleFault("a read of " + std::to_string(bytes) + " bytes at address 0");
  std::memcpy(into, pointerAt(at), bytes);
}

void InProcessImage::write(ModuleAddress at, const void* from, std::size_t bytes) {
  if (at == 0) throw ModuleFault("a write of " + std::to_string(bytes) + " bytes at address 0");
  std::memcpy(pointerAt(at), from, bytes);
}

std::optional<ModuleAddress> InProcessImage::exportAddress(const std::string& name) const {
  dlerror();
  void* address = dlsym(handle_, name.c_str());
  if (address == nullptr) return std::nullopt;
  return reinterpret_cast<Word>(address);
}

std::string InProcessImage::nameOf(ModuleAddress function) const {
  Dl_info info{};
  if (function == 0 || dladdr(pointerAt(function), &info) == 0 || info.dli_sname == nullptr) {
    return "";
  }
  if (info.dli_saddr != pointerAt(function)) return "";
  return demangledName(info.dli_sname);
}

std::uint64_t InProcessImage::call(ModuleAddress function,
                                   std::initializer_list<std::uint64_t> arguments,
                                   const std::string& entry) {
  return callModule<Word>(function, arguments.begin(), arguments.size(), entry);
}

double InProcessImage::callReturningDouble(ModuleAddress function,
                                           std::initializer_list<std::uint64_t> arguments,
                                           const std::string& entry) {
  return callModule<double>(function, arguments.begin(), arguments.size(), entry);
}

void InProcessImage::callInOrder(const ModuleCall* calls, std::size_t count, CallResult* results) {
  for (std::size_t i = 0; i < count; ++i) {
    const ModuleCall& call = calls[i];
    const std::uint64_t* arguments = call.arguments.data();
    if (call.returnsDouble) {
      const double value =
          callModule<double>(call.function, arguments, call.argumentCount, *call.entry);
      if (results != nullptr) results[i].value = value;
    } else {
      const Word integer =
          callModule<Word>(call.function, arguments, call.argumentCount, *call.entry);
      if (results != nullptr) results[i].integer = integer;
    }
  }
}

ModuleAddress InProcessImage::moduleHandle() const {
  // Where the loader placed the shared object, as a Windows module handle is where its image lies.
  link_map* map = nullptr;
  if (dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr) return 0;
  return map->l_addr;
}

ModuleAddress InProcessImage::allocateHostBlock(std::size_t bytes, const std::string&) {
  // Exactly `bytes`, so that AddressSanitizer sees a write past the end of what the host gave.
  blocks_.push_back(std::make_unique<std::uint8_t[]>(bytes == 0 ? 1 : bytes));
  return reinterpret_cast<Word>(blocks_.back().get());
}

ModuleAddress InProcessImage::hostFunction(const std::string&, int, HostFunction service) {
  const auto [entry, address] = trampolines_.bind(std::move(service));
  entries_.push_back(entry);
  return address;
}

TrampolinePool::TrampolinePool() : services_(kSize) {}

std::pair<int, ModuleAddress> TrampolinePool::bind(HostFunction service) {
  for (int entry = 0; entry < kSize; ++entry) {
    if (services_[static_cast<std::size_t>(entry)]) continue;
    services_[static_cast<std::size_t>(entry)] = std::move(service);
    return {entry, reinterpret_cast<Word>(kTrampolines[static_cast<std::size_t>(entry)])};
  }
  throw HostError("more than " + std::to_string(kSize) + " host functions in one run");
}

void TrampolinePool::release(int entry) { services_.at(static_cast<std::size_t>(entry)) = nullptr; }

std::uint64_t TrampolinePool::invoke(int entry, const HostArguments& arguments) const {
  return services_.at(static_cast<std::size_t>(entry))(arguments);
}

}  // namespace panelhost
