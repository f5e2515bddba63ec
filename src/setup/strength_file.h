// The computer opponent's strength, chosen in the setup window beside "Com" and kept in a
// settings file of its own in the player's folder, ComStrength.txt: one line, よわい,
// ふつう or つよい (CP932, CR LF, like the other settings files). A missing file means
// ふつう, the computer as it always played.
#pragma once

#include <optional>
#include <string>

namespace kisharin {

// よわい: a beginner; ふつう: the computer opponent as it always played; つよい: plans.
enum class Strength : int { Weak = 0, Normal = 1, Strong = 2 };

inline constexpr const char* kStrengthFile = "ComStrength.txt";
inline constexpr Strength kDefaultStrength = Strength::Normal;

// "よわい", "ふつう", "つよい".
const char* strengthCaption(Strength st);
// The strength of a caption (blanks around allowed); nothing for any other text.
std::optional<Strength> strengthFromCaption(const std::string& text);

// What the file gave: the strength, and when it could not be used, why (a Japanese
// message naming the file and the line, with the strength used instead).
struct StrengthLoad {
    Strength strength = kDefaultStrength;
    std::string problem;
};

// Reads gameDataDir + ComStrength.txt. A missing file is ふつう without a word; a file
// that is too long, not CP932, empty or holds another word gives ふつう and a problem.
StrengthLoad readStrength(const std::string& gameDataDir);
// Writes the strength (atomically). Throws GameError when it cannot be written.
void writeStrength(const std::string& gameDataDir, Strength st);

}  // namespace kisharin
