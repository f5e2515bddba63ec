#include "scene/pixels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/system_error.h"

namespace kisharin {

namespace {

constexpr std::uintmax_t kLargestBmp = 64u * 1024u * 1024u;  // far above any picture of the game
constexpr int kLargestSide = 16384;

std::uint32_t u32(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16(const std::vector<unsigned char>& b, size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
void put32(std::vector<unsigned char>& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}
void put16(std::vector<unsigned char>& b, size_t at, std::uint16_t v) {
    b[at] = static_cast<unsigned char>(v);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

std::string quoted(const std::string& path) {
    return "画像ファイル「" + path + "」";
}

}  // namespace

std::optional<PixelBuffer> readBmp(const std::string& path, std::string& error, int largestWidth,
                                   int largestHeight) {
    // Opened without waiting, so that a named pipe in the picture's place cannot hold the
    // game, and asked what it is before anything is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        error = quoted(path) +
                (err == ENOENT ? "がありません。" : "を開けません（" + systemErrorText(err) + "）。");
        return std::nullopt;
    }
    struct stat st {};
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = quoted(path) + (!statted ? "を調べられません。"
                                : S_ISDIR(st.st_mode)
                                    ? "はファイルではなくフォルダです。"
                                    : "は普通のファイルではありません（名前付きパイプや装置など）。");
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(st.st_size) > kLargestBmp) {
        ::close(fd);
        error = quoted(path) + "は大きすぎます。";
        return std::nullopt;
    }
    std::vector<unsigned char> b;
    b.reserve(static_cast<size_t>(st.st_size));
    unsigned char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            error = quoted(path) + "を読めません（" + systemErrorText(err) + "）。";
            return std::nullopt;
        }
        if (n == 0 || b.size() + static_cast<size_t>(n) > kLargestBmp) break;
        b.insert(b.end(), buf, buf + n);
    }
    ::close(fd);
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') {
        error = quoted(path) + "はBMP形式ではありません。";
        return std::nullopt;
    }
    const std::uint32_t dataAt = u32(b, 10);
    const std::uint32_t headerSize = u32(b, 14);
    const auto width = static_cast<std::int32_t>(u32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(u32(b, 22));
    const std::uint16_t planes = u16(b, 26);
    const std::uint16_t bits = u16(b, 28);
    const std::uint32_t compression = u32(b, 30);
    if (headerSize < 40 || planes != 1 || (bits != 24 && bits != 32) || compression != 0) {
        error = quoted(path) + "は読めない形式です（非圧縮の24ビットか32ビットのBMPだけが読めます）。";
        return std::nullopt;
    }
    const bool topDown = rawHeight < 0;
    const std::int64_t height = topDown ? -static_cast<std::int64_t>(rawHeight) : rawHeight;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide) {
        error = quoted(path) + "の大きさ（" + std::to_string(width) + "×" + std::to_string(height) +
                "）が正しくありません。";
        return std::nullopt;
    }
    if (width > largestWidth || height > largestHeight) {
        error = quoted(path) + "は大きすぎます（" + std::to_string(width) + "×" + std::to_string(height) +
                "。" + std::to_string(largestWidth) + "×" + std::to_string(largestHeight) +
                "までの絵が使えます）。";
        return std::nullopt;
    }
    const size_t bytesPerPixel = bits / 8;
    const size_t stride = (static_cast<size_t>(width) * bytesPerPixel + 3) / 4 * 4;
    if (dataAt < 54 || dataAt > b.size() || b.size() - dataAt < stride * static_cast<size_t>(height)) {
        error = quoted(path) + "が途中で切れています。";
        return std::nullopt;
    }
    PixelBuffer img(width, static_cast<int>(height));
    for (int row = 0; row < img.height; ++row) {
        const int y = topDown ? row : img.height - 1 - row;
        const unsigned char* p = b.data() + dataAt + stride * static_cast<size_t>(row);
        for (int x = 0; x < width; ++x, p += bytesPerPixel)
            img.px[static_cast<size_t>(y) * width + x] = argb(p[2], p[1], p[0]);
    }
    return img;
}

bool writeBmp(const PixelBuffer& img, const std::string& path, std::string& error) {
    if (img.empty() || img.px.size() != static_cast<size_t>(img.width) * img.height) {
        error = quoted(path) + "に書く絵が空です。";
        return false;
    }
    const size_t stride = (static_cast<size_t>(img.width) * 3 + 3) / 4 * 4;
    const size_t dataSize = stride * img.height;
    std::vector<unsigned char> b(54 + dataSize, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(b.size()));
    put32(b, 10, 54);
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(img.width));
    put32(b, 22, static_cast<std::uint32_t>(img.height));
    put16(b, 26, 1);
    put16(b, 28, 24);
    put32(b, 34, static_cast<std::uint32_t>(dataSize));
    put32(b, 38, 2835);  // 72 dpi
    put32(b, 42, 2835);
    for (int row = 0; row < img.height; ++row) {
        const int y = img.height - 1 - row;
        unsigned char* p = b.data() + 54 + stride * row;
        for (int x = 0; x < img.width; ++x, p += 3) {
            const std::uint32_t c = img.at(x, y);
            p[0] = static_cast<unsigned char>(c);
            p[1] = static_cast<unsigned char>(c >> 8);
            p[2] = static_cast<unsigned char>(c >> 16);
        }
    }
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
        out.flush();
        if (!out) {
            error = quoted(path) + "を書けません。";
            std::error_code ec;
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        error = quoted(path) + "を書けません（" + ec.message() + "）。";
        std::filesystem::remove(temp, ec);
        return false;
    }
    return true;
}

void fillRect(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + w, img.width), y1 = std::min(y + h, img.height);
    if (x1 <= x0 || y1 <= y0) return;  // nothing of it on the picture
    for (int yy = y0; yy < y1; ++yy)
        std::fill(img.px.begin() + static_cast<long>(yy) * img.width + x0,
                  img.px.begin() + static_cast<long>(yy) * img.width + x1, c);
}

void drawRect(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c) {
    if (w <= 0 || h <= 0) return;
    fillRect(img, x, y, w, 1, c);
    fillRect(img, x, y + h - 1, w, 1, c);
    fillRect(img, x, y, 1, h, c);
    fillRect(img, x + w - 1, y, 1, h, c);
}

void drawLine(PixelBuffer& img, int x0, int y0, int x1, int y1, std::uint32_t c) {
    const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    img.set(x0, y0, c);
    while (x0 != x1 || y0 != y1) {
        const int e2 = 2 * err;
        // One axis per step: a diagonal move becomes two moves, so the line is 4-connected.
        if (e2 - dy > dx - e2) {
            err += dy;
            x0 += sx;
        } else {
            err += dx;
            y0 += sy;
        }
        img.set(x0, y0, c);
    }
}

void drawPolygon(PixelBuffer& img, const std::vector<Point>& pts, std::uint32_t c) {
    for (size_t i = 0; i < pts.size(); ++i) {
        const Point& a = pts[i];
        const Point& b = pts[(i + 1) % pts.size()];
        drawLine(img, a.x, a.y, b.x, b.y, c);
    }
}

void fillPolygon(PixelBuffer& img, const std::vector<Point>& pts, std::uint32_t c) {
    if (pts.size() < 3) return;
    int top = pts[0].y, bottom = pts[0].y;
    for (const Point& p : pts) top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    std::vector<double> xs;
    for (int y = std::max(top, 0); y <= std::min(bottom, img.height - 1); ++y) {
        const double cy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < pts.size(); ++i) {
            const Point& a = pts[i];
            const Point& b = pts[(i + 1) % pts.size()];
            if ((a.y <= cy) != (b.y <= cy)) xs.push_back(a.x + (cy - a.y) * (b.x - a.x) / double(b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            const int from = static_cast<int>(std::ceil(xs[i] - 0.5));
            const int to = static_cast<int>(std::floor(xs[i + 1] - 0.5));
            fillRect(img, from, y, to - from + 1, 1, c);
        }
    }
}

namespace {
bool insideEllipse(int x, int y, int bx, int by, int w, int h) {
    const double rx = w / 2.0, ry = h / 2.0;
    const double dx = (x + 0.5 - bx - rx) / rx, dy = (y + 0.5 - by - ry) / ry;
    return dx * dx + dy * dy <= 1.0;
}
}  // namespace

void fillEllipse(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c) {
    if (w <= 0 || h <= 0) return;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (insideEllipse(xx, yy, x, y, w, h)) img.set(xx, yy, c);
}

void drawEllipse(PixelBuffer& img, int x, int y, int w, int h, std::uint32_t c) {
    if (w <= 0 || h <= 0) return;
    // The ring is every inside pixel with a side neighbour outside: any 4-connected path
    // from the inside to the outside crosses it.
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            if (insideEllipse(xx, yy, x, y, w, h) &&
                (!insideEllipse(xx - 1, yy, x, y, w, h) || !insideEllipse(xx + 1, yy, x, y, w, h) ||
                 !insideEllipse(xx, yy - 1, x, y, w, h) || !insideEllipse(xx, yy + 1, x, y, w, h)))
                img.set(xx, yy, c);
}

}  // namespace kisharin
