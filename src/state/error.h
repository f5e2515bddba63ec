// The game's one error type: a message in Japanese meant for the player, with the
// file and line it concerns when there is one.
#pragma once

#include <stdexcept>
#include <string>

namespace kisharin {

// The message is read through what(), a C string: control characters taken over from a
// file (a NUL would end the text there) are shown as their pictures (␀, ␉ …) instead.
class GameError : public std::runtime_error {
public:
  explicit GameError(const std::string& message) : std::runtime_error(visibleText(message)) {}

  // The text with every control character but the line end replaced by its picture.
  static std::string visibleText(const std::string& text);
};

// A fault in a data file: names the file, the line (1-based; 0 when the whole file is
// meant) and what is wrong.
class DataError : public GameError {
public:
    DataError(std::string file, int line, std::string what);

    const std::string& file() const { return file_; }
    int line() const { return line_; }
    const std::string& what_wrong() const { return what_; }

private:
    std::string file_;
    int line_;
    std::string what_;
};

}  // namespace kisharin
