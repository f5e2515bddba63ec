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

std::string shippedDataDir() {
    const std::string fromEnv = env("KISHARIN_SHIPPED_DATA");
    if (!fromEnv.empty()) return withSlash(fromEnv);
    return withSlash(KISHARIN_SHIPPED_DATA_DIR);
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
