// Reads Windows bitmap files as the module's resources carry them: uncompressed, 8 bits per pixel
// with a colour table or 24 bits per pixel, stored bottom-up or top-down.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "render/image.h"

namespace panelhost {

// Throws RenderError naming `file` and what was expected.
Image readBmpFile(const std::filesystem::path& file);

// `name` only labels the errors.
Image decodeBmp(const std::vector<std::uint8_t>& bytes, const std::string& name);

}  // namespace panelhost
