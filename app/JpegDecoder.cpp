#include "app/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <limits>

#include <jpeglib.h>

namespace lusheng::app {
namespace {

// libjpeg reports a fatal error by calling error_exit, which by default ends the process;
// this one jumps back to the decoder instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void jumpBack(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Counts warnings (level -1) as libjpeg's own handler does, without printing them.
void countWarnings(j_common_ptr info, int level) {
    if (level < 0) {
        ++info->err->num_warnings;
    }
}

// Only plain C objects live in this frame, so a jump out of libjpeg skips no destructor.
// `out` belongs to the caller.
bool decodeInto(const unsigned char* data, unsigned long size, RgbPicture* out) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpBack;
    errors.base.emit_message = countWarnings;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out->width = static_cast<int>(info.output_width);
    out->height = static_cast<int>(info.output_height);
    const std::size_t stride = std::size_t{info.output_width} * 3;
    out->pixels.resize(stride * info.output_height);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->pixels.data() + stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
    }
    // A picture cut short gets grey rows from libjpeg and a warning, not an error: count it
    // as undecodable.
    const bool complete = errors.base.num_warnings == 0;
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return complete;
}

} // namespace

std::optional<RgbPicture> decodeJpeg(std::span<const std::uint8_t> data) {
    if (data.empty() || data.size() > std::numeric_limits<unsigned long>::max()) {
        return std::nullopt;
    }
    RgbPicture picture;
    if (!decodeInto(data.data(), static_cast<unsigned long>(data.size()), &picture)) {
        return std::nullopt;
    }
    return picture;
}

} // namespace lusheng::app
