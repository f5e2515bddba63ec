#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace kisharin::fuzz {

void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

int lineCountOf(const std::string& bytes) {
    int lines = 0;
    for (char c : bytes)
        if (c == '\n') ++lines;
    if (!bytes.empty() && bytes.back() != '\n') ++lines;
    return lines;
}

void checkRefusal(const DataError& e, const std::string& file, int lastLine) {
    const std::string message = e.what();
    require(message.find(file) != std::string::npos,
            "the message does not name the file " + file + ": " + message);
    require(e.line() >= 0 && e.line() <= lastLine, "the message names line " + std::to_string(e.line()) +
                                                       " where the last is " + std::to_string(lastLine) +
                                                       ": " + message);
    require(!e.what_wrong().empty(), "the message does not say what is wrong: " + message);
}

namespace {
std::string made;
void removeScratch() {
    std::error_code ec;
    if (!made.empty()) std::filesystem::remove_all(made, ec);
}
}  // namespace

const std::string& scratchDir() {
    if (made.empty()) {
        // Memory-backed when the system has it and lets us write there (the readers are
        // fuzzed, not the disk), else the temporary folder. KISHARIN_FUZZ_SHM names
        // another memory-backed folder.
        const char* shm = std::getenv("KISHARIN_FUZZ_SHM");
        const std::string bases[] = {shm && *shm ? shm : "/dev/shm",
                                     std::filesystem::temp_directory_path().string()};
        for (const std::string& base : bases) {
            std::string tmpl = base + "/kisharin-fuzz-XXXXXX";
            if (::mkdtemp(tmpl.data())) {
                made = tmpl + "/";
                break;
            }
        }
        if (made.empty()) fail("cannot make a scratch folder under " + bases[0] + " nor " + bases[1]);
        std::atexit(removeScratch);
    }
    return made;
}

void writeScratch(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) fail("cannot write the scratch file " + path);
}

}  // namespace kisharin::fuzz
