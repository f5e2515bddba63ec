// How wide and high a text is drawn. The board computes label sizes through this, so
// that the desktop program can answer from its fonts and tests and the simulator from a
// simple fixed-width rule.
#pragma once

#include <string>

namespace kisharin {

class TextMetrics {
  public:
    virtual ~TextMetrics() = default;
    // Width in pixels of text drawn at pointSize.
    virtual int width(const std::string& text, int pointSize) const = 0;
    // Height in pixels of one line drawn at pointSize.
    virtual int height(int pointSize) const = 0;
};

// Every character (code point) as wide as the point size plus one pixel for a
// full-width character and half that for a narrow one; a line is pointSize * 2 - 1 high.
class FixedTextMetrics final : public TextMetrics {
  public:
    int width(const std::string& text, int pointSize) const override;
    int height(int pointSize) const override;
};

// One shared fixed-width instance.
const TextMetrics& fixedTextMetrics();

}  // namespace kisharin
