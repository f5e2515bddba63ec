// Text in memory is UTF-8; files are CP932 (Shift-JIS with the NEC and IBM extensions).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kisharin {

// CP932 bytes to UTF-8; nullopt when the bytes are not valid CP932.
std::optional<std::string> cp932ToUtf8(std::string_view bytes);

// UTF-8 to CP932 bytes; nullopt when the text holds a character CP932 cannot represent
// (or is not valid UTF-8).
std::optional<std::string> utf8ToCp932(std::string_view text);

// True when every character of text can be written in CP932.
bool representableInCp932(std::string_view text);

// Number of characters (code points) of a UTF-8 text.
int charCount(std::string_view text);

// Decodes the UTF-8 character at text[i] and moves i past it; a malformed byte is
// taken as U+FFFD and skipped alone.
char32_t nextUtf8(std::string_view text, size_t& i);

// Appends a code point to a UTF-8 text.
void appendUtf8(std::string& out, char32_t cp);

// The first n characters of a UTF-8 text.
std::string firstChars(std::string_view text, int n);

}  // namespace kisharin
