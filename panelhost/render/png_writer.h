// Writes pictures as PNG files: DEFLATE at its fastest level through libdeflate, for a picture a
// scenario may take every few frames, with the file's chunks written here. Read back through
// libpng.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include "render/image.h"

namespace panelhost {

class PngWriter {
 public:
  PngWriter();
  ~PngWriter();
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;

  // RGB when every pixel is opaque, RGBA otherwise. The room for the rows and the compressed
  // data is kept for the next picture. The file is written as output_file.h writes every file:
  // whole or not at all. Throws RenderError naming the file and the system's reason.
  void write(const Image& image, const std::filesystem::path& file);

 private:
  struct Compressor;
  std::unique_ptr<Compressor> compressor_;
  std::vector<std::uint8_t> rows_;        // each row: its filter byte (none), then its pixels
  std::vector<std::uint8_t> compressed_;  // the zlib stream of the rows
};

// One picture with a writer of its own.
void writePng(const Image& image, const std::filesystem::path& file);

// Reads a PNG back as RGBA; for tests and tools. Throws RenderError naming the file.
Image readPng(const std::filesystem::path& file);

}  // namespace panelhost
