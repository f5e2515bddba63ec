#include "platform/data_home.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

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

std::string findShippedDataDir(const std::string& programPath, const std::string& fromEnv,
                               const std::string& configured) {
    if (!fromEnv.empty()) return withSlash(fromEnv);
    namespace fs = std::filesystem;
    const auto holdsData = [](const fs::path& dir) {
        std::error_code ec;
        return fs::is_regular_file(dir / "GameData" / "駅.txt", ec);
    };
    if (!programPath.empty()) {
        const fs::path programDir = fs::path(programPath).parent_path();
        const fs::path installed = programDir.parent_path() / "share" / "kisharin";
        if (holdsData(installed)) return withSlash(installed.lexically_normal().string());
        const fs::path beside = programDir / "data";
        if (holdsData(beside)) return withSlash(beside.lexically_normal().string());
    }
    return withSlash(configured);
}

std::string shippedDataDir() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return findShippedDataDir(ec ? std::string() : self.string(), env("KISHARIN_DATA_DIR"),
                              KISHARIN_SHIPPED_DATA_DIR);
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
    const std::string dir = userDataDir() + "GameData/";
    makeDirectories(dir);
    for (const char* name : {"NameData.txt", "URL.txt", "履歴0.txt", "履歴1.txt"}) {
        const std::string target = dir + name;
        if (fileExists(target)) continue;
        const std::string source = withSlash(shippedDir) + "GameData/" + name;
        writeBytesAtomic(target, fileExists(source) ? readFileBytes(source) : std::string());
    }
    return dir;
}

}  // namespace kisharin
