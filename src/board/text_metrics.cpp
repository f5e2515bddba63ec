#include "board/text_metrics.h"

#include "platform/encoding.h"

namespace kisharin {

int FixedTextMetrics::width(const std::string& text, int pointSize) const {
    int w = 0;
    for (size_t i = 0; i < text.size();) {
        const char32_t cp = nextUtf8(text, i);
        // Narrow: ASCII and the half-width katakana.
        const bool narrow = cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F);
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
