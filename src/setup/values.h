// Values one per line, in the form the game's settings and save files keep them:
// integers with a blank before (the sign's place) and after, flags as True / False.
#pragma once

#include <optional>
#include <string>

namespace kisharin {

// Money as the money label shows it, in the Japanese currency form: full-width yen
// sign, thousands separated by commas, the minus sign first: "￥30,000", "-￥1,500".
std::string moneyText(long yen);

// " 30000 ", "-5 ".
std::string printInteger(long long v);
// "True" / "False".
std::string printFlag(bool v);

// The text without blanks (and tabs) at either end.
std::string trimBlanks(const std::string& text);

// A decimal integer with optional sign and surrounding blanks; nullopt for anything else.
std::optional<long long> parseInteger(const std::string& text);
// "True" or "False" (any case, blanks around allowed; also -1 and 0); nullopt otherwise.
std::optional<bool> parseFlag(const std::string& text);

}  // namespace kisharin
