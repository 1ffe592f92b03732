// Reading a module's records the way a host does, through panelhost's own layout: the linkage, each
// gauge header, its element tree, failure lists and mouse table. Bounded, so that a table without
// its end, or a tree that leads back into itself, cannot run away with the host.
#pragma once

#include "abi/host_layouts.h"
#include "abi/module_records.h"
#include "loader/module_image.h"

namespace panelhost::hostabi {

constexpr std::size_t kMostGauges = 64;
constexpr std::size_t kMostChildren = 256;
constexpr int kDeepestTree = 16;
constexpr std::size_t kMostMouseEntries = 512;
constexpr std::size_t kMostFailures = 64;
constexpr std::size_t kLongestName = 256;

// Each throws ModuleFault when a record lies outside the module's memory.
LinkageRecord readLinkage(const ModuleImage& image, const HostLayouts& layouts, ModuleAddress at);
GaugeRecord readGauge(const ModuleImage& image, const HostLayouts& layouts, ModuleAddress at);
ElementTree readElementTree(const ModuleImage& image, const HostLayouts& layouts,
                            ModuleAddress root, const std::string& gaugeName);
std::vector<MouseEntry> readMouseTable(const ModuleImage& image, const HostLayouts& layouts,
                                       ModuleAddress at, const std::string& gaugeName);

const char* elementKindName(std::uint32_t kind);
const char* mouseEntryKindName(std::uint32_t kind);

}  // namespace panelhost::hostabi
