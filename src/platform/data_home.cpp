#include "platform/data_home.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/system_error.h"
#include "platform/text_file.h"
#include "state/error.h"

namespace kisharin {

namespace {
std::string withSlash(std::string s) {
    if (!s.empty() && s.back() != '/') s += '/';
    return s;
}
std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}
}  // namespace

std::vector<std::string> shippedDataCandidates(const std::string& programPath, const std::string& fromEnv,
                                               const std::string& configured) {
    if (!fromEnv.empty()) return {withSlash(fromEnv)};
    namespace fs = std::filesystem;
    std::vector<std::string> out;
    if (!programPath.empty()) {
        const fs::path programDir = fs::path(programPath).parent_path();
        out.push_back(
            withSlash((programDir.parent_path() / "share" / "kisharin").lexically_normal().string()));
        out.push_back(withSlash((programDir / "data").lexically_normal().string()));
    }
    out.push_back(withSlash(configured));
    return out;
}

bool holdsShippedData(const std::string& dir) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(withSlash(dir)) / "GameData" / "駅.txt",
                                            ec);
}

std::string findShippedDataDir(const std::string& programPath, const std::string& fromEnv,
                               const std::string& configured) {
    const auto candidates = shippedDataCandidates(programPath, fromEnv, configured);
    for (size_t i = 0; i + 1 < candidates.size(); ++i)
        if (holdsShippedData(candidates[i])) return candidates[i];
    return candidates.back();
}

namespace {
std::string programPath() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.string();
}
}  // namespace

std::string shippedDataDir() {
    return findShippedDataDir(programPath(), env("KISHARIN_DATA_DIR"), KISHARIN_SHIPPED_DATA_DIR);
}

std::string manualPath(const std::string& shippedDir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path dir(withSlash(shippedDir));
    for (const fs::path& candidate :
         {dir / "Manual.htm", dir.parent_path().parent_path() / "doc" / "kisharin" / "Manual.htm"}) {
        if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
    }
    return {};
}

std::string userDataDir() {
    const std::string home = env("KISHARIN_DATA_HOME");
    if (!home.empty()) return withSlash(home);
    const std::string xdg = env("XDG_DATA_HOME");
    if (!xdg.empty()) return withSlash(xdg) + "kisharin/";
    return withSlash(env("HOME")) + ".local/share/kisharin/";
}

void makeDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec || !std::filesystem::is_directory(path))
        throw GameError("フォルダ「" + path + "」を作れません（" +
                        systemErrorText(ec ? ec.value() : ENOTDIR) + "）");
}

std::string ensureUserGameData(const std::string& shippedDir) {
    // Without the shipped data there is no game: said once, before anything is written.
    if (!holdsShippedData(shippedDir)) {
        std::string places;
        auto looked =
            shippedDataCandidates(programPath(), env("KISHARIN_DATA_DIR"), KISHARIN_SHIPPED_DATA_DIR);
        if (std::find(looked.begin(), looked.end(), withSlash(shippedDir)) == looked.end())
            looked.insert(looked.begin(), withSlash(shippedDir));
        for (const std::string& place : looked) places += "\n　" + place;
        throw GameError(
            "ゲームのデータ（GameData/駅.txt）が見つかりません。探した場所：" + places +
            "\nゲームを入れ直すか、環境変数 KISHARIN_DATA_DIR にデータのフォルダを指定してください。");
    }
    const std::string dir = userDataDir() + "GameData/";
    makeDirectories(dir);
    removeLeftoverTemporaries(dir);
    for (const char* name : {"NameData.txt", "URL.txt", "履歴0.txt", "履歴1.txt"}) {
        const std::string target = dir + name;
        if (fileExists(target)) continue;
        const std::string source = withSlash(shippedDir) + "GameData/" + name;
        writeBytesAtomic(target, fileExists(source) ? readFileBytes(source) : std::string());
    }
    return dir;
}

}  // namespace kisharin
