#pragma once
// Decodes a JPEG picture held in memory to 8-bit RGB rows. Free of Qt and of the speech
// headers: libjpeg's header defines TRUE and FALSE as macros.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lusheng::app {

struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // rows of width * 3 bytes, top row first
};

// Nothing for data that is not a complete, decodable JPEG picture.
std::optional<RgbPicture> decodeJpeg(std::span<const std::uint8_t> data);

} // namespace lusheng::app
