// A player's history file on any bytes: the board's load never fails on it, every
// notice names the file, a record cut short is taken away for good, and an arrival
// appended afterwards is read back as one more station and nothing else.
#include "board/history_file.h"
#include "fuzz_support.h"
#include "platform/text_file.h"

using namespace kisharin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes = fuzz::asBytes(data, size);
    const std::string path = fuzz::scratchDir() + "履歴0.txt";
    fuzz::writeScratch(path, bytes);

    std::vector<std::string> notices;
    VisitedTable first = loadHistory(path, notices);
    for (const std::string& n : notices)
        fuzz::require(n.find(path) != std::string::npos, "a notice that does not name the file: " + n);

    appendLine(path, historyRecord(750, 100));
    first(750, 100) = true;
    std::vector<std::string> later;
    const VisitedTable second = loadHistory(path, later);
    fuzz::require(second == first,
                  "the history read after an arrival is not the one before it plus that arrival");
    for (const std::string& n : later)
        fuzz::require(n.find("切れた") == std::string::npos, "a record cut short came back: " + n);
    return 0;
}
