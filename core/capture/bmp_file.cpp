#include "core/capture/bmp_file.h"

#include "core/base/byte_io.h"

namespace tf {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::int32_t kPixelsPerMetre = 3780;  // 96 dots per inch
// Far beyond any screen; keeps the sizes within the header's 32-bit fields.
constexpr std::int64_t kLargestPicture = 1 << 28;

}  // namespace

std::string bmpFile(int width, int height, std::span<const std::uint32_t> pixels) {
    const std::int64_t count = std::int64_t{width} * height;
    if (width <= 0 || height <= 0 || count > kLargestPicture ||
        pixels.size() != static_cast<std::size_t>(count)) {
        return {};
    }
    const auto imageBytes = static_cast<std::uint32_t>(count * 4);
    ByteWriter out;
    out.reserve(kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
    out.bytes("BM");
    out.u32(kFileHeaderBytes + kInfoHeaderBytes + imageBytes);
    out.u32(0);  // reserved
    out.u32(kFileHeaderBytes + kInfoHeaderBytes);
    out.u32(kInfoHeaderBytes);
    out.i32(width);
    out.i32(height);  // positive: rows bottom-up
    out.u16(1);       // planes
    out.u16(32);      // bits per pixel
    out.u32(0);       // no compression
    out.u32(imageBytes);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(0);  // colours used
    out.u32(0);  // important colours
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            out.u32(pixels[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                           static_cast<std::size_t>(x)]);  // stored B, G, R, A
        }
    }
    return out.take();
}

}  // namespace tf
