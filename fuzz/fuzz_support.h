// What the fuzz targets share: a loud stop for a broken promise, the check that a
// refusal names its file and a line of it, and a private scratch folder for the readers
// that take a path. The same code runs under libFuzzer and in the corpus replay.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "state/error.h"

namespace kisharin::fuzz {

// Prints what went wrong and aborts: libFuzzer keeps the input, the replay test fails.
[[noreturn]] void fail(const std::string& what);

inline void require(bool ok, const std::string& what) {
    if (!ok) fail(what);
}

// Number of lines of a file as the readers count them (a last line without an end counts).
int lineCountOf(const std::string& bytes);

// A refusal must name the file it was given and a line from 0 (the whole file) to
// lastLine, and say what is wrong.
void checkRefusal(const DataError& e, const std::string& file, int lastLine);

// A folder of this process only, created on first use and removed at exit; ends with "/".
const std::string& scratchDir();

// Replaces the file at path with bytes (plain write: the scratch folder is private).
void writeScratch(const std::string& path, const std::string& bytes);

inline std::string asBytes(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace kisharin::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);
