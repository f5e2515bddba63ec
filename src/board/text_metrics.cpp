#include "board/text_metrics.h"

namespace kisharin {

int characterCount(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

int FixedTextMetrics::width(const std::string& text, int pointSize) const {
    int w = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) == 0x80) continue;
        // Narrow: ASCII and the half-width katakana (U+FF61..U+FF9F, EF BD A1..EF BE 9F).
        bool narrow = c < 0x80;
        if (c == 0xEF && i + 1 < text.size()) {
            const unsigned char c1 = static_cast<unsigned char>(text[i + 1]);
            const unsigned char c2 = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
            narrow = (c1 == 0xBD && c2 >= 0xA1) || c1 == 0xBE;
        }
        w += narrow ? (pointSize + 1) / 2 : pointSize + 1;
    }
    return w;
}

int FixedTextMetrics::height(int pointSize) const {
    return pointSize * 2 - 1;
}

const TextMetrics& fixedTextMetrics() {
    static const FixedTextMetrics metrics;
    return metrics;
}

}  // namespace kisharin
