// What the panel host offers a loaded module: a PANELS table of 86 slots built in the module's
// own address space, whose served slots the simulation answers; a record of what the module asked
// for; and the main window with its timers on the virtual clock. One instance is the running host,
// handed to whatever loads or calls a module; only the plain functions a native module calls with
// nothing but their arguments reach it through the one pointer to it (running()).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "abi/host_layouts.h"
#include "loader/in_process_image.h"
#include "loader/module_image.h"
#include "loader/windows_host.h"
#include "services/host_conditions.h"
#include "services/latest_records.h"
#include "sim/radio_simulation.h"
#include "timers/virtual_timers.h"

namespace panelhost {

struct KeyEventRecord {
  std::uint32_t eventId;
  std::uint32_t value;
  std::int64_t timeMs;
};

// A MODULE_VAR as the module handed it to lookup_var.
struct ModuleVarLookup {
  std::uint32_t id;
  ModuleAddress varPtr;
  std::uint32_t varType;
  std::uint64_t value;
  std::uint64_t old;
};

struct ElementListCall {
  int slot;  // which element-list service: 24 element_list_query ... 31 element_list_kill
  ModuleAddress element;
};

class HostServices : public WindowsHost {
 public:
  // What is kept of the calls a check or the log can no longer use: the latest this many.
  static constexpr std::size_t kKeptServiceRecords = 256;
  // The handle of the main window of class "FS98MAIN".
  static constexpr std::uint64_t kMainWindow = 0x00010010;

  HostServices();
  ~HostServices() override;
  HostServices(const HostServices&) = delete;
  HostServices& operator=(const HostServices&) = delete;

  // Builds a PANELS table in the module's memory and returns its address. `linkageHeader` are the
  // six words the table opens with (the module's own linkage header).
  ModuleAddress installPanels(ModuleImage& image,
                              const std::array<std::uint64_t, hostabi::kPanelsHeaderWords>& header);
  // The module that calls into the host now: the one panelhost is calling, or else the last whose
  // table was installed (tests call the module's functions directly).
  ModuleImage* callingImage() const;
  // While one lives, `image` is the module being called.
  class Calling {
   public:
    // Inline: every call into the module makes one.
    Calling(HostServices& host, ModuleImage& image) : host_(host), previous_(host.calling_) {
      host.calling_ = &image;
    }
    ~Calling() { host_.calling_ = previous_; }
    Calling(const Calling&) = delete;
    Calling& operator=(const Calling&) = delete;

   private:
    HostServices& host_;
    ModuleImage* previous_;
  };
  // The module is going: its timers and anything that points into it go too.
  void forget(const ModuleImage& image);

  RadioSimulation& simulation() { return simulation_; }
  // How the simulation holds what the calculator hands back (module variables stay exact).
  void setHeldAnswers(HeldAnswers answers) { answers_ = answers; }
  VirtualTimers& timers() { return timers_; }
  TrampolinePool& trampolines() { return trampolines_; }

  // WindowsHost: the main window, when present, and its timers on the virtual clock.
  std::uint64_t findWindow(const std::u16string& className,
                           const std::u16string& windowName) override {
    return findWindowNamed(className, windowName);
  }
  // The same for names that are not strings of their own (the native stand-in's), so finding the
  // window allocates nothing.
  std::uint64_t findWindowNamed(std::u16string_view className, std::u16string_view windowName);
  std::uint64_t setTimer(std::uint64_t window, std::uint64_t timerId, std::uint32_t periodMs,
                         ModuleAddress procedure) override;
  bool killTimer(std::uint64_t window, std::uint64_t timerId) override;
  std::uint64_t mainWindow() const { return windowPresent_ ? kMainWindow : 0; }
  void setWindowPresent(bool present) { windowPresent_ = present; }

  std::int64_t nowMs() const { return nowMs_; }
  void setNowMs(std::int64_t t) { nowMs_ = t; }

  // Key events not yet taken by a check, oldest first. Beyond kKeptKeyEvents the oldest go,
  // counted in keyEventsDropped, so that a run of months sending events unchecked stays small.
  static constexpr std::size_t kKeptKeyEvents = std::size_t{1} << 16;
  std::deque<KeyEventRecord> keyEvents;
  std::uint64_t keyEventsDropped = 0;
  // The latest texts given to execute_calculator_code.
  LatestRecords<std::string> calculatorCodes{kKeptServiceRecords};
  LatestRecords<ModuleVarLookup> moduleVarLookups{kKeptServiceRecords};
  LatestRecords<ElementListCall> elementListCalls{kKeptServiceRecords};
  // Called with a line for each service call, when set; the line is only made when it is set.
  std::function<void(const std::string&)> log;
  // Called instead of `log`, when set, with a line for each request the simulation could not
  // answer.
  std::function<void(const std::string&)> warn;

  // The running host, for the plain functions that have no other way to it: the in-process
  // trampolines (loader/in_process_image.cpp) and the Windows stand-ins
  // (services/windows_standins.cpp). Throws std::logic_error when there is none.
  static HostServices& running();

 private:
  struct ServedSlot;
  static const ServedSlot kServedSlots[];
  // The host function in `slot` of the table `image` is given.
  ModuleAddress service(ModuleImage& image, int slot);
  // The handlers of the served slots: the calling module, the slot and its arguments in, what
  // the service returns out.
  std::uint64_t elementListCall(ModuleImage& image, int slot, const HostArguments& a);
  std::uint64_t triggerKeyEvent(ModuleImage& image, int slot, const HostArguments& a);
  std::uint64_t lookupVar(ModuleImage& image, int slot, const HostArguments& a);
  std::uint64_t executeCalculatorCode(ModuleImage& image, int slot, const HostArguments& a);
  // The block of `id` (a module variable's storage, or kCalculatorText) lent to `image`: made on
  // first use, `purpose` naming it when the module writes outside it, the same block ever after.
  ModuleAddress lentBlock(ModuleImage& image, std::uint64_t id, std::size_t bytes,
                          const std::function<std::string()>& purpose);
  void note(const std::string& line) const;
  void complain(const std::string& line) const;

  RadioSimulation simulation_;
  VirtualTimers timers_;
  TrampolinePool trampolines_;
  ModuleImage* calling_ = nullptr;
  ModuleImage* lastInstalled_ = nullptr;
  HeldAnswers answers_ = HeldAnswers::kExact;
  // Blocks lent to a module for good: module variables' storage (by id) and the calculator's
  // text result (id kCalculatorText).
  struct LentBlock {
    const ModuleImage* image;
    std::uint64_t id;
    ModuleAddress address;
  };
  std::vector<LentBlock> lentBlocks_;
  bool windowPresent_ = true;
  std::int64_t nowMs_ = 0;
  std::string calculatorText_;  // the text being evaluated, its room kept between calls
  std::string timerEntry_;      // "the procedure of timer N", its room kept between firings
};

}  // namespace panelhost
