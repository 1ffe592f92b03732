// Writes pictures as PNG files (through libpng).
#pragma once

#include <filesystem>

#include "render/image.h"

namespace panelhost {

// RGB when every pixel is opaque, RGBA otherwise. Throws RenderError naming the file.
void writePng(const Image& image, const std::filesystem::path& file);

// Reads a PNG back as RGBA; for tests and tools. Throws RenderError naming the file.
Image readPng(const std::filesystem::path& file);

}  // namespace panelhost
