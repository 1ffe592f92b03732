#pragma once

#include <string>

#include "art/canvas.h"

namespace art {

// 8-bit paletted uncompressed Windows BMP (BITMAPINFOHEADER, BI_RGB, 256-entry colour table,
// rows bottom-up, padded to 4 bytes). Pure black is the transparent colour: palette entry 0 is
// (0,0,0) and only pixels that are exactly (0,0,0) use it. Throws std::runtime_error naming
// the path on failure.
void writeBmp8(const std::string& path, const Canvas& c);

// 24-bit uncompressed BMP, bottom-up, rows padded to 4 bytes.
void writeBmp24(const std::string& path, const Canvas& c);

// RGB PNG, for looking at the art.
void writePng(const std::string& path, const Canvas& c);

// Reads an 8- or 24-bit uncompressed BMP, bottom-up or top-down. Throws std::runtime_error
// naming the file and what was wrong with it.
Canvas readBmp(const std::string& path);

}  // namespace art
