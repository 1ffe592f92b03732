#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

#include "emulator/emulated_module.h"
#include "recording_windows.h"
#include "tiny_dll.h"

using panelhost::HostError;
using panelhost::ModuleFault;
using ::testing::HasSubstr;

namespace {

constexpr std::uint32_t kSlot = 0x40;  // each case's code at its own 64 bytes of .text
constexpr std::uint64_t kInstructionLimit = 10000;

struct Case {
  const char* name;
  std::vector<std::uint8_t> code;
  std::vector<std::uint64_t> arguments;
  bool returnsDouble;
  double result;      // when no fault is expected
  const char* fault;  // what the ModuleFault must say, or null
};

const Case kCases[] = {
    {"stdcall",
     {0x8B, 0x44, 0x24, 0x04, 0x03, 0x44, 0x24, 0x08, 0xC2, 0x08, 0x00},
     {2, 40},
     false,
     42,
     nullptr},
    {"a negative argument",
     {0x8B, 0x44, 0x24, 0x04, 0xC2, 0x04, 0x00},
     {static_cast<std::uint64_t>(-5)},
     false,
     0xFFFFFFFB,
     nullptr},
    {"pi from ST(0)", {0xD9, 0xEB, 0xC3}, {}, true, M_PI, nullptr},
    {"minus one from ST(0)", {0xD9, 0xE8, 0xD9, 0xE0, 0xC3}, {}, true, -1.0, nullptr},
    {"no double",
     {0xC3},
     {},
     true,
     0,
     "left 0 values on the x87 stack instead of its result alone in ST(0)"},
    {"a value left on the x87 stack",
     {0xD9, 0xE8, 0xC3},
     {},
     false,
     0,
     "left 1 values on the x87 stack"},
    {"arguments not popped",
     {0xC3},
     {1},
     false,
     0,
     "left the stack unbalanced: ESP is 0x13FFEC on return instead of 0x13FFF0"},
    {"an illegal instruction",
     {0x90, 0x0F, 0x0B},
     {},
     false,
     0,
     "ran an illegal instruction at 0x200011C1"},
    {"a division by zero",
     {0x31, 0xC9, 0xF7, 0xF1, 0xC3},
     {},
     false,
     0,
     "caused a division error (divide by zero or overflow) (exception 0) at 0x20001202"},
    {"an endless loop",
     {0xEB, 0xFE},
     {},
     false,
     0,
     "ran 10000 bytes of code without returning (it was at 0x20001240)"},
    {"a write to its code",
     {0xC7, 0x05, 0x00, 0x10, 0x00, 0x20, 0x01, 0x00, 0x00, 0x00, 0xC3},
     {},
     false,
     0,
     "wrote 4 bytes at 0x20001000, which is read-only (the instruction at 0x20001280)"},
    {"a null pointer read",
     {0xA1, 0x00, 0x00, 0x00, 0x00, 0xC3},
     {},
     false,
     0,
     "read 4 bytes at 0x0, which is not mapped (the instruction at 0x200012C0)"},
    {"a jump into data",
     {0xB8, 0x00, 0x20, 0x00, 0x20, 0xFF, 0xE0},
     {},
     false,
     0,
     "jumped to 0x20002000, which is not executable"},
    {"EBX not preserved",
     {0xBB, 0x01, 0x00, 0x00, 0x00, 0xC3},
     {},
     false,
     0,
     "did not preserve EBX"},
    {"the direction flag left set",
     {0xFD, 0xC3},
     {},
     false,
     0,
     "returned with the direction flag set"},
    {"a segment register changed",
     {0x6A, 0x00, 0x0F, 0xA1, 0xC3},  // push 0; pop fs; ret
     {},
     false,
     0,
     "changed segment register FS"},
    {"the thread block through FS, put back after the case before",
     {0x64, 0xA1, 0x18, 0x00, 0x00, 0x00, 0xC3},  // mov eax, fs:[0x18] (its own address); ret
     {},
     false,
     0x7FFDE000,
     nullptr},
    {"a breakpoint", {0xCC, 0xC3}, {}, false, 0, "caused a breakpoint (int3)"},
    {"a privileged instruction",
     {0xF4, 0xC3},
     {},
     false,
     0,
     "caused a protection fault (a privileged instruction?)"},
};

std::uint32_t addressOf(std::size_t index) {
  return tiny::kBase + tiny::kText + static_cast<std::uint32_t>(index) * kSlot;
}

std::unique_ptr<panelhost::ModuleImage> loadCases(panelhost::WindowsHost& windows,
                                                  const std::vector<std::uint8_t>& extra) {
  tiny::Dll dll;
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    dll.code.resize(i * kSlot, 0xCC);
    dll.code.insert(dll.code.end(), kCases[i].code.begin(), kCases[i].code.end());
  }
  dll.code.resize(std::size(kCases) * kSlot, 0xCC);
  dll.code.insert(dll.code.end(), extra.begin(), extra.end());
  panelhost::EmulatorOptions options;
  options.codeLimit = kInstructionLimit;
  return panelhost::openEmulatedModule(dll.bytes(), "cases.gau", windows, options);
}

TEST(GuestCall, ReturnsResultsAndReportsFaultsWithTheirAddress) {
  emulator_test::RecordingWindows windows;
  const auto module = loadCases(windows, {});
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const Case& test = kCases[i];
    SCOPED_TRACE(test.name);
    const auto run = [&] {
      const std::initializer_list<std::uint64_t> none{};
      if (test.arguments.size() == 2) {
        return module->call(addressOf(i), {test.arguments[0], test.arguments[1]}, test.name) * 1.0;
      }
      if (test.arguments.size() == 1)
        return module->call(addressOf(i), {test.arguments[0]}, test.name) * 1.0;
      return test.returnsDouble ? module->callReturningDouble(addressOf(i), none, test.name)
                                : module->call(addressOf(i), none, test.name) * 1.0;
    };
    if (test.fault == nullptr) {
      EXPECT_DOUBLE_EQ(run(), test.result);
      continue;
    }
    try {
      run();
      ADD_FAILURE() << "no fault";
    } catch (const ModuleFault& fault) {
      EXPECT_THAT(fault.what(), HasSubstr(std::string(test.name) + ": " + test.fault));
    }
    // A fault leaves the CPU fit for the next call, as the unload's detach call needs.
    EXPECT_EQ(module->call(addressOf(0), {1, 2}, "after a fault"), 3u);
  }
}

// A batch is made in one entry into the CPU, each call checked as it returns: every fault of the
// table, made by the third call of four, names the third call and the address, and the fourth is
// not made. (In a batch the frames lie one above the other: ESP is elsewhere than for one call.)
TEST(GuestCall, AFaultInTheThirdCallOfABatchNamesThatCall) {
  emulator_test::RecordingWindows windows;
  const auto module = loadCases(windows, {});
  int fourthMade = 0;
  const auto fourth = module->hostFunction("the fourth", 0, [&](const panelhost::HostArguments&) {
    ++fourthMade;
    return std::uint64_t{0};
  });
  const std::string names[] = {"first", "second", "third", "fourth"};
  const auto call = [&](panelhost::ModuleAddress function, std::vector<std::uint64_t> arguments,
                        bool returnsDouble, int index) {
    panelhost::ModuleCall made;
    made.function = function;
    std::copy(arguments.begin(), arguments.end(), made.arguments.begin());
    made.argumentCount = static_cast<std::uint8_t>(arguments.size());
    made.returnsDouble = returnsDouble;
    made.entry = &names[index];
    return made;
  };
  const std::size_t stdcall = 0, pi = 2;
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const Case& test = kCases[i];
    SCOPED_TRACE(test.name);
    const panelhost::ModuleCall calls[] = {
        call(addressOf(stdcall), {2, 40}, false, 0), call(addressOf(pi), {}, true, 1),
        call(addressOf(i), test.arguments, test.returnsDouble, 2), call(fourth, {}, false, 3)};
    panelhost::CallResult results[4];
    fourthMade = 0;
    try {
      module->callInOrder(calls, 4, results);
      EXPECT_EQ(test.fault, nullptr) << "no fault";
      EXPECT_EQ(results[0].integer, 42u);
      EXPECT_DOUBLE_EQ(results[1].value, M_PI);
      EXPECT_EQ(test.returnsDouble ? results[2].value : results[2].integer * 1.0, test.result);
      EXPECT_EQ(fourthMade, 1);
    } catch (const ModuleFault& fault) {
      ASSERT_NE(test.fault, nullptr) << fault.what();
      const std::string expected = test.fault;
      EXPECT_THAT(fault.what(), HasSubstr("third: " + expected.substr(0, expected.find(" 0x13F"))));
      EXPECT_EQ(fourthMade, 0);
    }
    EXPECT_EQ(module->call(addressOf(0), {1, 2}, "after a fault"), 3u);
  }
}

// fld1; fincstp; ret: a value left in ST(7), the top put back over it. The call routine sees the
// top and ST(0) after each call; the tags, when the calls of an entry end.
TEST(GuestCall, AValueLeftOutsideTheX87StackIsFoundWhenTheEntryEnds) {
  emulator_test::RecordingWindows windows;
  const auto module = loadCases(windows, {0xD9, 0xE8, 0xD9, 0xF7, 0xC3});
  const std::uint32_t hidden = addressOf(std::size(kCases));
  try {
    module->call(hidden, {}, "alone");
    ADD_FAILURE() << "no fault";
  } catch (const ModuleFault& fault) {
    EXPECT_THAT(fault.what(), HasSubstr("alone: left 1 values on the x87 stack"));
  }
  const std::string first = "first", second = "second";
  panelhost::ModuleCall calls[2];
  calls[0].function = hidden;
  calls[0].entry = &first;
  calls[1].function = addressOf(0);
  calls[1].arguments = {2, 40};
  calls[1].argumentCount = 2;
  calls[1].entry = &second;
  try {
    module->callInOrder(calls, 2, nullptr);
    ADD_FAILURE() << "no fault";
  } catch (const ModuleFault& fault) {
    EXPECT_THAT(fault.what(), HasSubstr("second: left a value in an x87 register outside the "
                                        "stack, or one of the 1 calls made before it"));
  }
  EXPECT_EQ(module->call(addressOf(0), {1, 2}, "after a fault"), 3u);
}

// push 7; push 5; call [data]; ret: calls the host function stored at the start of .data.
const std::vector<std::uint8_t> kCallThroughData = {0x6A, 0x07, 0x6A, 0x05, 0xFF, 0x15,
                                                    0x00, 0x20, 0x00, 0x20, 0xC3};

TEST(GuestCall, HostFunctionsTakeStdcallArgumentsAndPassTheirThrowsOn) {
  emulator_test::RecordingWindows windows;
  const auto module = loadCases(windows, kCallThroughData);
  const std::uint32_t caller = addressOf(std::size(kCases));
  const auto install = [&](panelhost::HostFunction service) {
    const std::uint32_t address =
        static_cast<std::uint32_t>(module->hostFunction("PANELS slot 57", 2, std::move(service)));
    module->write(tiny::kBase + tiny::kData, &address, 4);
  };

  install([](const panelhost::HostArguments& a) { return a.at(0) * 10 + a.at(1); });
  EXPECT_EQ(module->call(caller, {}, "the caller"), 57u);

  install([](const panelhost::HostArguments&) -> std::uint64_t {
    throw HostError("the module called PANELS slot 57, which panelhost does not serve");
  });
  try {
    module->call(caller, {}, "the caller");
    ADD_FAILURE() << "no throw";
  } catch (const ModuleFault&) {
    ADD_FAILURE() << "a service's HostError became a ModuleFault";
  } catch (const HostError& error) {
    EXPECT_STREQ(error.what(), "the module called PANELS slot 57, which panelhost does not serve");
  }

  install([](const panelhost::HostArguments&) -> std::uint64_t { throw ModuleFault("bad text"); });
  try {
    module->call(caller, {}, "the caller");
    ADD_FAILURE() << "no throw";
  } catch (const ModuleFault& fault) {
    EXPECT_THAT(fault.what(), HasSubstr("the caller: in PANELS slot 57 called from 0x"));
    EXPECT_THAT(fault.what(), HasSubstr(": bad text"));
  }
}

TEST(GuestCall, HostMemoryIsZeroedAndAccessesAreChecked) {
  emulator_test::RecordingWindows windows;
  const auto module = loadCases(windows, {});
  const auto first = module->allocateHostBlock(10, "the first block");
  const auto second = module->allocateHostBlock(300, "the second block");
  EXPECT_GE(second, first + 10);
  std::vector<std::uint8_t> bytes(300, 0xFF);
  module->read(second, bytes.data(), bytes.size());
  EXPECT_EQ(bytes, std::vector<std::uint8_t>(300, 0));
  const std::uint32_t word = 0x12345678;
  module->write(first, &word, 4);
  std::uint32_t back = 0;
  module->read(first, &back, 4);
  EXPECT_EQ(back, word);

  EXPECT_THROW(module->read(0, &back, 4), ModuleFault);
  EXPECT_THROW(module->read(0xFFFFFFFE, &back, 4), ModuleFault);
  EXPECT_THROW(module->write(tiny::kBase + tiny::kText, &word, 4), ModuleFault);
  EXPECT_THROW(module->call(0x100000000ull, {}, "far away"), ModuleFault);
}

}  // namespace

namespace {

// The C runtime panelhost provides, called as MinGW's code calls it: cdecl, data imports holding
// the data's address.
TEST(GuestCall, TheRuntimeServesTheCrtAndEndsTheCallOnAbort) {
  tiny::Dll dll;
  dll.imports = {{"msvcrt.dll", "_iob"},   {"msvcrt.dll", "fwrite"}, {"msvcrt.dll", "abort"},
                 {"msvcrt.dll", "strlen"}, {"msvcrt.dll", "malloc"}, {"msvcrt.dll", "free"}};
  const auto slot = [&](std::size_t i) { return tiny::kBase + dll.importSlot(i); };
  const std::uint32_t text = tiny::kBase + tiny::kData;
  dll.data = {'o', 'o', 'p', 's', '\n', 0};
  std::vector<std::uint8_t>& code = dll.code;
  const auto word = [&code](std::uint32_t value) {
    for (int b = 0; b < 4; ++b) code.push_back(static_cast<std::uint8_t>(value >> 8 * b));
  };
  const auto push = [&](std::uint32_t value) { code.push_back(0x68), word(value); };
  const auto callImport = [&](std::size_t i) {
    code.insert(code.end(), {0xFF, 0x15}), word(slot(i));
  };
  const auto dropArguments = [&](std::uint8_t bytes) {
    code.insert(code.end(), {0x83, 0xC4, bytes});
  };
  const auto at = [&](std::size_t offset) {
    code.resize(offset, 0xCC);
    return tiny::kBase + tiny::kText + static_cast<std::uint32_t>(offset);
  };

  // strlen(text)
  const std::uint32_t length = at(0);
  push(text), callImport(3), dropArguments(4), code.push_back(0xC3);
  // fwrite(text, 1, 5, &_iob[2]); abort()
  const std::uint32_t abortAfterWriting = at(0x40);
  code.insert(code.end(), {0xA1}), word(slot(0));     // mov eax, [_iob]: the streams' address
  code.insert(code.end(), {0x83, 0xC0, 0x40, 0x50});  // add eax, 64 (stderr); push eax
  push(5), push(1), push(text), callImport(1), dropArguments(16), callImport(2),
      code.push_back(0xC3);
  // free(malloc(8)) twice
  const std::uint32_t freeTwice = at(0x80);
  push(8), callImport(4), dropArguments(4), code.insert(code.end(), {0x89, 0xC6});  // mov esi, eax
  for (int i = 0; i < 2; ++i) code.insert(code.end(), {0x56}), callImport(5), dropArguments(4);
  code.push_back(0xC3);

  emulator_test::RecordingWindows windows;
  const auto module = panelhost::openEmulatedModule(dll.bytes(), "crt.gau", windows);
  EXPECT_EQ(module->call(length, {}, "strlen"), 5u);
  try {
    module->call(abortAfterWriting, {}, "the gauge callback");
    ADD_FAILURE() << "no fault";
  } catch (const ModuleFault& fault) {
    EXPECT_THAT(fault.what(),
                HasSubstr("the gauge callback: in msvcrt.dll!abort called from 0x2000"));
    EXPECT_THAT(fault.what(), HasSubstr("the module called abort(); it had written: \"oops\n\""));
  }
  try {
    module->call(freeTwice, {}, "free twice");
    ADD_FAILURE() << "no fault";
  } catch (const ModuleFault& fault) {
    EXPECT_THAT(fault.what(), HasSubstr("freed 0x1000000, which malloc did not hand out or which "
                                        "was freed already"));
  }
}

}  // namespace
