#include "services/host_services.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "abi/record_reader.h"
#include "support/message_parts.h"

namespace panelhost {

namespace {

HostServices* runningHost = nullptr;

// The longest calculator text the host reads; the module's own are far shorter.
constexpr std::size_t kLongestCalculatorCode = 1024;
// The text result of a calculator expression, as the host lends it: room for any number.
constexpr std::size_t kCalculatorTextBytes = 32;
// Among the lent blocks' ids, the calculator's text result (module variable ids are 32-bit).
constexpr std::uint64_t kCalculatorText = std::uint64_t{1} << 32;
// A module variable's storage holds its 8-byte value, as var_value does.
constexpr std::size_t kVariableBytes = 8;

}  // namespace

// A PANELS slot panelhost serves: the words its arguments take (on i686 the service pops them) and
// the handler that answers it.
struct HostServices::ServedSlot {
  int slot;
  const char* name;
  int argumentWords;
  std::uint64_t (HostServices::*handler)(ModuleImage& image, int slot, const HostArguments& a);
};

// clang-format off
const HostServices::ServedSlot HostServices::kServedSlots[] = {
    // slot name                       words handler
    {24, "element_list_query",         1,    &HostServices::elementListCall},
    {25, "element_list_install",       2,    &HostServices::elementListCall},
    {26, "element_list_initialize",    1,    &HostServices::elementListCall},
    {27, "element_list_update",        1,    &HostServices::elementListCall},
    {28, "element_list_generate",      2,    &HostServices::elementListCall},
    {29, "element_list_plot",          1,    &HostServices::elementListCall},
    {30, "element_list_erase",         1,    &HostServices::elementListCall},
    {31, "element_list_kill",          1,    &HostServices::elementListCall},
    {36, "trigger_key_event",          2,    &HostServices::triggerKeyEvent},
    {40, "lookup_var",                 1,    &HostServices::lookupVar},
    {69, "execute_calculator_code",    4,    &HostServices::executeCalculatorCode},
};
// clang-format on

namespace {

// "24 to 31, 36, 40 and 69": the slots of the table, runs of neighbours joined.
template <typename Slots>
std::string slotList(const Slots& served) {
  std::vector<std::string> runs;
  for (std::size_t i = 0; i < std::size(served);) {
    std::size_t last = i;
    while (last + 1 < std::size(served) && served[last + 1].slot == served[last].slot + 1) ++last;
    runs.push_back(std::to_string(served[i].slot) +
                   (last > i ? " to " + std::to_string(served[last].slot) : ""));
    i = last + 1;
  }
  return listed(runs, " and ");
}

}  // namespace

HostServices::HostServices() {
  if (runningHost) throw std::logic_error("a panel host is already running");
  runningHost = this;
  timers_.setDispatcher([this](const VirtualTimers::Timer& timer, std::int64_t timeMs) {
    if (log) note("timer " + std::to_string(timer.id) + " fires");
    if (timer.procedure == 0 || timer.owner == nullptr) return;
    char id[24];
    std::snprintf(id, sizeof id, "%llu", static_cast<unsigned long long>(timer.id));
    timerEntry_.assign("the procedure of timer ").append(id);
    Calling calling(*this, *timer.owner);
    timer.owner->call(timer.procedure,
                      {timer.window, kWmTimer, timer.id, static_cast<std::uint32_t>(timeMs)},
                      timerEntry_);
  });
}

HostServices::~HostServices() { runningHost = nullptr; }

HostServices& HostServices::running() {
  if (!runningHost) throw std::logic_error("no panel host is running");
  return *runningHost;
}

ModuleImage* HostServices::callingImage() const { return calling_ ? calling_ : lastInstalled_; }

void HostServices::forget(const ModuleImage& image) {
  timers_.forget(&image);
  std::vector<LentBlock> kept;
  for (const LentBlock& block : lentBlocks_) {
    if (block.image != &image) kept.push_back(block);
  }
  lentBlocks_ = std::move(kept);
  if (lastInstalled_ == &image) lastInstalled_ = nullptr;
  if (calling_ == &image) calling_ = nullptr;
}

void HostServices::note(const std::string& line) const {
  if (log) log(line);
}

void HostServices::complain(const std::string& line) const {
  if (warn) {
    warn(line);
  } else {
    note(line);
  }
}

ModuleAddress HostServices::installPanels(
    ModuleImage& image, const std::array<std::uint64_t, hostabi::kPanelsHeaderWords>& header) {
  const hostabi::HostLayouts& layouts = hostabi::HostLayouts::forPointerSize(image.pointerSize());
  std::vector<std::uint8_t> table(layouts.panelsSize());
  for (int slot = 0; slot < hostabi::kPanelsSlots; ++slot) {
    const bool headerWord = slot < hostabi::kPanelsHeaderWords;
    const std::uint64_t word =
        headerWord ? header[static_cast<std::size_t>(slot)] : service(image, slot);
    const std::uint32_t size =
        headerWord ? layouts.panelsHeader.fields()[static_cast<std::size_t>(slot)].size
                   : static_cast<std::uint32_t>(layouts.pointerSize);
    hostabi::putWord(table, layouts.panelsSlotOffset(slot), word, size);
  }
  const ModuleAddress at = image.allocateHostBlock(table.size(), "the PANELS table");
  image.write(at, table.data(), table.size());
  lastInstalled_ = &image;
  return at;
}

ModuleAddress HostServices::service(ModuleImage& image, int slot) {
  for (const ServedSlot& served : kServedSlots) {
    if (served.slot != slot) continue;
    ModuleImage* module = &image;
    const auto handler = served.handler;
    return image.hostFunction("PANELS slot " + std::to_string(slot) + " (" + served.name + ")",
                              served.argumentWords,
                              [this, module, slot, handler](const HostArguments& a) {
                                return (this->*handler)(*module, slot, a);
                              });
  }
  return image.hostFunction(
      "PANELS slot " + std::to_string(slot), 1, [slot](const HostArguments&) -> std::uint64_t {
        throw ModuleFault("the module called PANELS slot " + std::to_string(slot) +
                          ", a service panelhost does not offer (it serves slots " +
                          slotList(kServedSlots) + ")");
      });
}

std::uint64_t HostServices::elementListCall(ModuleImage&, int slot, const HostArguments& a) {
  elementListCalls.push_back(ElementListCall{slot, a[0]});
  return 0;
}

std::uint64_t HostServices::triggerKeyEvent(ModuleImage&, int, const HostArguments& a) {
  const auto eventId = static_cast<std::uint32_t>(a[0]);
  const auto value = static_cast<std::uint32_t>(a[1]);
  keyEvents.push_back({eventId, value, nowMs_});
  if (keyEvents.size() > kKeptKeyEvents) {
    keyEvents.pop_front();
    ++keyEventsDropped;
  }
  const bool known = simulation_.applyKeyEvent(eventId, value);
  if (known ? static_cast<bool>(log) : warn || log) {
    char line[64];
    std::snprintf(line, sizeof line, "key event %u value 0x%08X: ", eventId, value);
    if (known) {
      note(line + RadioSimulation::describeKeyEvent(eventId, value));
    } else {
      complain(line + std::string("unknown to the simulation"));
    }
  }
  return known ? 0 : 1;
}

std::uint64_t HostServices::lookupVar(ModuleImage& image, int, const HostArguments& a) {
  const ModuleAddress moduleVar = a[0];
  const hostabi::HostLayouts& layouts = hostabi::HostLayouts::forPointerSize(image.pointerSize());
  const hostabi::RecordReader record(image, layouts.moduleVar, moduleVar);
  const auto& field = layouts.moduleVarFields;
  const ModuleVarLookup seen{record.u32(field.id), record.pointer(field.varPtr),
                             record.u32(field.varType), record.bits64(field.value),
                             record.bits64(field.old)};
  moduleVarLookups.push_back(seen);
  if (auto value = simulation_.moduleVariable(seen.id)) {
    // The value is a 32-bit integer in the low bytes of the 8-byte union; var_ptr points at the
    // host's own storage of the variable, which holds the same.
    const std::uint64_t word = *value;
    const ModuleAddress storage = lentBlock(image, seen.id, kVariableBytes, [&] {
      return "the storage of module variable " + std::to_string(seen.id) +
             " (lookup_var's var_ptr)";
    });
    image.write(storage, &word, sizeof word);
    hostabi::writeWord(image, moduleVar + field.varPtr.offset, storage, field.varPtr.size);
    image.write(moduleVar + field.value.offset, &word, sizeof word);
  } else {
    complain("module variable " + std::to_string(seen.id) + " is unknown");
  }
  return 0;
}

ModuleAddress HostServices::lentBlock(ModuleImage& image, std::uint64_t id, std::size_t bytes,
                                      const std::function<std::string()>& purpose) {
  for (const LentBlock& block : lentBlocks_) {
    if (block.image == &image && block.id == id) return block.address;
  }
  const ModuleAddress address = image.allocateHostBlock(bytes, purpose());
  lentBlocks_.push_back({&image, id, address});
  return address;
}

std::uint64_t HostServices::executeCalculatorCode(ModuleImage& image, int, const HostArguments& a) {
  const ModuleAddress code = a[0];
  const ModuleAddress floatResult = a[1];
  const ModuleAddress intResult = a[2];
  const ModuleAddress textResult = a[3];
  std::string& text = calculatorText_;
  if (code) {
    hostabi::readModuleText(image, code, kLongestCalculatorCode, text);
  } else {
    text.clear();
  }
  calculatorCodes.keep(text);
  const auto value = simulation_.evaluate(text);
  if (!value) {
    complain("calculator expression not understood: \"" + text + "\"");
    return 0;
  }
  const double held = heldAnswer(*value, answers_);
  if (floatResult) image.write(floatResult, &held, sizeof held);
  if (intResult) {
    const auto asInt = static_cast<std::int32_t>(held);
    image.write(intResult, &asInt, sizeof asInt);
  }
  if (textResult) {
    // The host keeps the text and hands out where it is.
    char shown[kCalculatorTextBytes] = {};
    std::snprintf(shown, sizeof shown, "%.17g", held);
    const ModuleAddress block = lentBlock(image, kCalculatorText, kCalculatorTextBytes, [] {
      return std::string("the text result of execute_calculator_code");
    });
    image.write(block, shown, sizeof shown);
    hostabi::writeWord(image, textResult, block, static_cast<std::uint32_t>(image.pointerSize()));
  }
  return 1;
}

std::uint64_t HostServices::findWindowNamed(std::u16string_view className,
                                            std::u16string_view windowName) {
  if (className != u"FS98MAIN" || !windowName.empty()) return 0;
  return mainWindow();
}

std::uint64_t HostServices::setTimer(std::uint64_t window, std::uint64_t timerId,
                                     std::uint32_t periodMs, ModuleAddress procedure) {
  if (window != 0 && window != mainWindow()) {
    if (log) note("SetTimer on window " + hex(window) + ", which is not the main window: refused");
    return 0;
  }
  return timers_.set(window, timerId, periodMs, procedure, callingImage(), nowMs_);
}

bool HostServices::killTimer(std::uint64_t window, std::uint64_t timerId) {
  return timers_.kill(window, timerId);
}

}  // namespace panelhost
