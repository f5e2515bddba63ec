// Texts as the station file can hold them: CP932 characters only, readings in hiragana.
#pragma once

#include <string>
#include <string_view>

namespace kisharin::databuilder {

// Replaces every character CP932 cannot write by its nearest CP932 equivalent
// (〜 by ～, − by －, 鷗 by 鴎, accented Latin letters by plain ones and so on; "〓"
// when there is none) and adds the number of characters replaced to *mapped.
std::string toCp932Text(std::string_view text, int* mapped);

// Katakana turned into hiragana; everything else (ー, brackets, …) kept.
std::string toHiragana(std::string_view text);

}  // namespace kisharin::databuilder
