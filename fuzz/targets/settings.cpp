// The settings reader on any pair of files (NameData.txt before the first NUL byte,
// URL.txt after it; without a NUL byte URL.txt is missing): it never fails, every value
// it gives is one the setup window can show (an empty name too: the player fills it in), every fallback names
// its file, and what the game writes back it reads back the same without a complaint.
#include <filesystem>

#include "fuzz_support.h"
#include "platform/data_home.h"
#include "setup/settings.h"

using namespace kisharin;

namespace {

void requireShowable(const Settings& st) {
    fuzz::require(acceptedName(st.name1) == st.name1 && acceptedName(st.name2) == st.name2,
                  "a name the name box would not accept: " + st.name1 + " / " + st.name2);
    fuzz::require(acceptedText(st.url) == st.url, "an address the text box would not accept: " + st.url);
    fuzz::require(st.player >= 0 && st.player <= 1 && st.shortOpt >= 0 && st.shortOpt <= 1 &&
                      st.voiceOpt >= 0 && st.voiceOpt <= 1 && st.area >= 0 && st.area <= 8,
                  "an option outside its buttons");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    const std::string& root = fuzz::scratchDir();
    const std::string read = root + "read/", written = root + "written/";
    static const bool made = [&] {
        std::filesystem::create_directories(read);
        std::filesystem::create_directories(written);
        return true;
    }();
    (void)made;
    static const std::string shipped = shippedDataDir() + "GameData/";

    const size_t nul = bytes.find('\0');
    fuzz::writeScratch(read + "NameData.txt", bytes.substr(0, nul));
    std::error_code ec;
    if (nul == std::string::npos)
        std::filesystem::remove(read + "URL.txt", ec);
    else
        fuzz::writeScratch(read + "URL.txt", bytes.substr(nul + 1));

    const SettingsLoad load = readSettings(read, shipped);
    requireShowable(load.settings);
    for (const std::string& p : load.problems)
        fuzz::require(p.find("NameData.txt") != std::string::npos || p.find("URL.txt") != std::string::npos,
                      "a notice that names neither file: " + p);

    writeSettings(written, load.settings);
    const SettingsLoad again = readSettings(written, shipped);
    fuzz::require(again.problems.empty(), "the files the game wrote are not good: " +
                                              (again.problems.empty() ? std::string() : again.problems[0]));
    fuzz::require(again.settings == load.settings, "the settings read back differ from those written");
    return 0;
}
