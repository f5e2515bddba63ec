#include "state/error.h"

namespace kisharin {

std::string GameError::visibleText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u == '\n' || (u >= 0x20 && u != 0x7F)) {
            out += c;
        } else {
            // U+2400 + c (U+2421 for DEL), in UTF-8: E2 90 xx.
            const unsigned picture = u == 0x7F ? 0x21 : u;
            out += static_cast<char>(0xE2);
            out += static_cast<char>(0x90);
            out += static_cast<char>(0x80 | picture);
        }
    }
    return out;
}

namespace {
std::string compose(const std::string& file, int line, const std::string& what) {
    std::string text = "ファイル「" + file + "」";
    if (line > 0) text += "の" + std::to_string(line) + "行目";
    return text + "：" + what;
}
}  // namespace

DataError::DataError(std::string file, int line, std::string what)
    : GameError(compose(file, line, what)), file_(std::move(file)), line_(line), what_(std::move(what)) {}

}  // namespace kisharin
