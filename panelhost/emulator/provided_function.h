// A DLL's functions as panelhost provides them: a table of the DLL's class, one row a function,
// {the name the module imports, its handler}. A handler is a member function of the class whose
// parameters are the function's arguments in order, one 32-bit word each, named as the
// prototype above it names them; the words the function takes follow from them, and its result
// is what it returns (0 for a void one).
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

#include "emulator/thunk_table.h"

namespace panelhost {

template <typename Dll>
struct FunctionHandler {
  int argumentWords;
  std::uint32_t (*serve)(Dll& dll, const HostArguments& arguments);
};

template <typename Dll>
struct ProvidedFunction {
  const char* name;
  FunctionHandler<Dll> handler;
};

namespace provided {

// A parameter from the argument's 32-bit word, as the module passed it.
template <typename Parameter>
Parameter word(std::uint64_t argument) {
  return static_cast<Parameter>(static_cast<std::uint32_t>(argument));
}

template <typename MemberFunction>
struct Shape;

template <typename Result, typename Dll, typename... Parameters>
struct Shape<Result (Dll::*)(Parameters...)> {
  static_assert(((std::is_integral_v<Parameters> && sizeof(Parameters) == 4) && ...),
                "a handler's parameters are the function's 32-bit arguments");
  using Class = Dll;
  static constexpr int kWords = static_cast<int>(sizeof...(Parameters));

  template <Result (Dll::*Function)(Parameters...), std::size_t... Word>
  static std::uint32_t serve(Dll& dll, const HostArguments& arguments,
                             std::index_sequence<Word...>) {
    const auto call = [&] { return (dll.*Function)(word<Parameters>(arguments[Word])...); };
    if constexpr (std::is_void_v<Result>) {
      call();
      return 0;
    } else {
      return static_cast<std::uint32_t>(call());
    }
  }
};

template <auto Function>
std::uint32_t serve(typename Shape<decltype(Function)>::Class& dll,
                    const HostArguments& arguments) {
  using S = Shape<decltype(Function)>;
  return S::template serve<Function>(dll, arguments, std::make_index_sequence<S::kWords>{});
}

}  // namespace provided

// The handler of a table's row: `handler<&Kernel32::virtualProtect>`.
template <auto Function>
constexpr FunctionHandler<typename provided::Shape<decltype(Function)>::Class> handler = {
    provided::Shape<decltype(Function)>::kWords, &provided::serve<Function>};

}  // namespace panelhost
