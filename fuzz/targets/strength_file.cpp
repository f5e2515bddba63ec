// The computer's strength file on any bytes: it never fails, it always gives one of the
// three strengths, a strength it cannot use is told in a message naming the file, and
// what the game writes back it reads back the same without a complaint.
#include <filesystem>

#include "fuzz_support.h"
#include "setup/strength_file.h"

using namespace kisharin;

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
    fuzz::writeScratch(read + kStrengthFile, bytes);
    const StrengthLoad load = readStrength(read);
    fuzz::require(load.strength == Strength::Weak || load.strength == Strength::Normal ||
                      load.strength == Strength::Strong,
                  "a strength the setup window cannot show");
    fuzz::require(load.problem.empty() || load.problem.find(kStrengthFile) != std::string::npos,
                  "a message that does not name the file: " + load.problem);
    writeStrength(written, load.strength);
    const StrengthLoad again = readStrength(written);
    fuzz::require(again.problem.empty() && again.strength == load.strength,
                  "the file the game wrote does not read back the same");
    return 0;
}
