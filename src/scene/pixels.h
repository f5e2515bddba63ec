// Plain pixel pictures for the ride scene and the celebration: a buffer of 0xAARRGGBB
// pixels, reading and writing uncompressed BMP files, and the few drawing strokes the
// program's own artwork is made of (no anti-aliasing: every pixel is one solid colour).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kisharin {

// 0xAARRGGBB; alpha 0 is a transparent pixel.
constexpr std::uint32_t argb(int r, int g, int b, int a = 255) {
    return (static_cast<std::uint32_t>(a & 255) << 24) | (static_cast<std::uint32_t>(r & 255) << 16) |
           (static_cast<std::uint32_t>(g & 255) << 8) | static_cast<std::uint32_t>(b & 255);
}
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kTransparent = 0x00000000;

struct PixelBuffer {
    int width = 0, height = 0;
    std::vector<std::uint32_t> px;  // row-major, top row first

    PixelBuffer() = default;
    PixelBuffer(int w, int h, std::uint32_t fill = kWhite)
        : width(w), height(h), px(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

    bool empty() const { return width <= 0 || height <= 0; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    // Outside the picture reads as transparent and writes nothing.
    std::uint32_t at(int x, int y) const {
        return contains(x, y) ? px[static_cast<size_t>(y) * width + x] : kTransparent;
    }
    void set(int x, int y, std::uint32_t c) {
        if (contains(x, y)) px[static_cast<size_t>(y) * width + x] = c;
    }
    friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;
};

// Reads an uncompressed 24- or 32-bit BMP (bottom-up or top-down). Every pixel comes
// back opaque. On failure: nullopt and a Japanese message naming the file in `error`;
// a picture wider or taller than the given limits is refused before it is decoded.
std::optional<PixelBuffer> readBmp(const std::string& path, std::string& error, int largestWidth = 16384,
                                   int largestHeight = 16384);
// Writes a 24-bit bottom-up BMP (alpha is dropped), through a temporary file that
// replaces `path` only when complete. False and a Japanese message on failure.
bool writeBmp(const PixelBuffer& img, const std::string& path, std::string& error);

// Drawing strokes, clipped to the picture.
void fillRect(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c);
// One-pixel frame around the rectangle x..x+w-1, y..y+h-1.
void drawRect(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c);
// A 4-connected line (no diagonal-only steps), so that a closed outline of lines
// keeps any fill inside it.
void drawLine(PixelBuffer& img, int x0, int y0, int x1, int y1, std::uint32_t c);
// Closed polygon outline of 4-connected lines.
struct Point {
    int x = 0, y = 0;
};
void drawPolygon(PixelBuffer& img, const std::vector<Point>& pts, std::uint32_t c);
// Filled polygon (pixel centres inside by the even-odd rule).
void fillPolygon(PixelBuffer& img, const std::vector<Point>& pts, std::uint32_t c);
// Filled ellipse inside the box x..x+w-1, y..y+h-1.
void fillEllipse(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c);
// Ellipse outline of one 4-connected pixel ring inside the same box.
void drawEllipse(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c);

}  // namespace kisharin
