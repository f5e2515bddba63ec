#include "setup/strength_file.h"

#include <filesystem>
#include <system_error>

#include "platform/text_file.h"
#include "setup/values.h"
#include "state/error.h"

namespace kisharin {

namespace {
// One word and its line end; anything much longer is not a strength file.
constexpr std::uintmax_t kMaxBytes = 256;
}  // namespace

const char* strengthCaption(Strength st) {
    switch (st) {
        case Strength::Weak:
            return "よわい";
        case Strength::Strong:
            return "つよい";
        default:
            return "ふつう";
    }
}

std::optional<Strength> strengthFromCaption(const std::string& text) {
    const std::string word = trimBlanks(text);
    for (Strength st : {Strength::Weak, Strength::Normal, Strength::Strong})
        if (word == strengthCaption(st)) return st;
    return std::nullopt;
}

StrengthLoad readStrength(const std::string& gameDataDir) {
    const std::string path = gameDataDir + kStrengthFile;
    StrengthLoad out;
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return out;
    const std::string fallback = std::string("。「") + strengthCaption(kDefaultStrength) + "」を使います";
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || !std::filesystem::is_regular_file(path, ec)) {
        out.problem = DataError(kStrengthFile, 0, "読めません" + fallback).what();
        return out;
    }
    if (size > kMaxBytes) {
        out.problem = DataError(kStrengthFile, 1, "長すぎます" + fallback).what();
        return out;
    }
    try {
        const std::vector<std::string> lines = decodeLines(readFileBytes(path), kStrengthFile, 1);
        if (lines.empty()) {
            out.problem = DataError(kStrengthFile, 1, "強さがありません" + fallback).what();
        } else if (const auto st = strengthFromCaption(lines[0])) {
            out.strength = *st;
        } else {
            out.problem = DataError(kStrengthFile, 1, "「よわい」「ふつう」「つよい」のどれでもありません" + fallback).what();
        }
    } catch (const GameError& e) {
        out.problem = std::string(e.what()) + fallback;
    }
    return out;
}

void writeStrength(const std::string& gameDataDir, Strength st) {
    writeLinesAtomic(gameDataDir + kStrengthFile, {strengthCaption(st)});
}

}  // namespace kisharin
