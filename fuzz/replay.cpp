// Feeds every file of the given corpus folders to the fuzz target it is linked with,
// built with the ordinary compiler, so that every input that ever found a fault stays
// a test. A fault aborts the program (the test fails, naming the input first).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER...\n", argv[0]);
        return 2;
    }
    for (int a = 1; a < argc; ++a) {
        const std::filesystem::path folder = argv[a];
        std::vector<std::filesystem::path> inputs;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(folder, ec))
            if (e.is_regular_file()) inputs.push_back(e.path());
        if (ec || inputs.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", folder.c_str());
            return 1;  // an empty or missing corpus would make the test pass on nothing
        }
        std::sort(inputs.begin(), inputs.end());
        for (const auto& p : inputs) {
            std::ifstream in(p, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::fprintf(stderr, "%s\n", p.filename().c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        }
        std::printf("%zu inputs of %s replayed\n", inputs.size(), folder.c_str());
    }
    return 0;
}
