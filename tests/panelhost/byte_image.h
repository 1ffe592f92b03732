// A module that is nothing but bytes: records written at the offsets a test gives, for panelhost's
// reader to decode as it decodes a real module. Calls are not for it.
#pragma once

#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "loader/module_image.h"

class ByteImage : public panelhost::ModuleImage {
 public:
  static constexpr panelhost::ModuleAddress kBase = 0x10000;

  ByteImage(int pointerSize, std::size_t bytes) : pointerSize_(pointerSize), bytes_(bytes) {}

  // Little-endian, `size` bytes of `value` at base + offset.
  void put(std::size_t offset, std::uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
      bytes_.at(offset + i) = static_cast<std::uint8_t>(value >> (8 * i));
  }
  void putPointer(std::size_t offset, std::size_t targetOffset) {
    put(offset, kBase + targetOffset, static_cast<std::size_t>(pointerSize_));
  }
  void putDouble(std::size_t offset, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    put(offset, bits, 8);
  }
  void putText(std::size_t offset, const std::string& text) {
    for (std::size_t i = 0; i <= text.size(); ++i)
      bytes_.at(offset + i) = i < text.size() ? text[i] : 0;
  }
  void exportAt(const std::string& name, std::size_t offset) { exports_[name] = kBase + offset; }

  const std::string& path() const override { return path_; }
  int pointerSize() const override { return pointerSize_; }
  void read(panelhost::ModuleAddress at, void* into, std::size_t n) const override {
    if (at < kBase || at - kBase + n > bytes_.size())
      throw panelhost::ModuleFault("outside the bytes");
    std::memcpy(into, bytes_.data() + (at - kBase), n);
  }
  void write(panelhost::ModuleAddress at, const void* from, std::size_t n) override {
    if (at < kBase || at - kBase + n > bytes_.size())
      throw panelhost::ModuleFault("outside the bytes");
    std::memcpy(bytes_.data() + (at - kBase), from, n);
  }
  std::optional<panelhost::ModuleAddress> exportAddress(const std::string& name) const override {
    const auto found = exports_.find(name);
    if (found == exports_.end()) return std::nullopt;
    return found->second;
  }
  std::string nameOf(panelhost::ModuleAddress) const override { return ""; }
  std::uint64_t call(panelhost::ModuleAddress, std::initializer_list<std::uint64_t>,
                     const std::string&) override {
    throw std::logic_error("a byte image has no code");
  }
  double callReturningDouble(panelhost::ModuleAddress, std::initializer_list<std::uint64_t>,
                             const std::string&) override {
    throw std::logic_error("a byte image has no code");
  }
  void callInOrder(const panelhost::ModuleCall*, std::size_t, panelhost::CallResult*) override {
    throw std::logic_error("a byte image has no code");
  }
  panelhost::ModuleAddress moduleHandle() const override { return 0; }
  panelhost::ModuleAddress allocateHostBlock(std::size_t n, const std::string&) override {
    const std::size_t at = bytes_.size();
    bytes_.resize(at + n);
    return kBase + at;
  }
  panelhost::ModuleAddress hostFunction(const std::string&, int, panelhost::HostFunction) override {
    return 0xDEAD;
  }
  std::optional<std::vector<std::uint8_t>> bitmapResource(std::uint32_t) const override {
    return std::nullopt;
  }

 private:
  std::string path_ = "(bytes)";
  int pointerSize_;
  std::vector<std::uint8_t> bytes_;
  std::map<std::string, panelhost::ModuleAddress> exports_;
};
