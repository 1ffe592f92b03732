// A bitmap resource as a .bmp file holds it: the resource is the bitmap without its file header,
// and the header's pixel offset must step over the colour table that follows the info header.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/pe_image.h"

namespace panelhost {

// `id` must be one of image.bitmaps. Throws HostError when its header is not a bitmap's.
std::vector<std::uint8_t> bitmapFile(const PeImage& image, std::uint32_t id,
                                     const std::string& name);

}  // namespace panelhost
