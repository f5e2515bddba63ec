// Line files as the game keeps them: CP932 text, one record per line ended by CR LF.
#pragma once

#include <string>
#include <vector>

namespace kisharin {

// Reads a whole file as bytes. Throws DataError (line 0) when it cannot be opened.
std::string readFileBytes(const std::string& path);

// Reads a CP932 line file into UTF-8 lines, without their line ends. Lines may end
// with CR LF or LF alone; a last line without an end counts as a line, and an empty
// file has no lines. Throws DataError naming the file and the line when a line is not
// valid CP932 or the file cannot be opened.
std::vector<std::string> readLines(const std::string& path);

// The same on bytes already read; `name` is the file name used in error messages.
// With maxLines, only the first maxLines lines are decoded and returned: what lies
// beyond them is not looked at.
std::vector<std::string> decodeLines(const std::string& bytes, const std::string& name,
                                     size_t maxLines = static_cast<size_t>(-1));

// Encodes UTF-8 lines as CP932 with CR LF after every line. Throws DataError naming
// the line when a line holds a character CP932 cannot represent.
std::string encodeLines(const std::vector<std::string>& lines, const std::string& name);

// Replaces path with the given lines: written to a temporary file beside it, flushed
// to disk, then renamed over the old file, so that a crash never leaves half a file.
// Throws GameError when writing fails; the old file is then untouched.
void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines);

// Replaces path with the given bytes, as writeLinesAtomic does. When path is a link, the
// file it points at is replaced and the link kept, as appendLine writes through it.
void writeBytesAtomic(const std::string& path, const std::string& bytes);

// Removes from folder the temporary files a replacement left behind when the game was
// killed in the middle of it ("NameData.txt.tmpA1b2C3"); returns how many.
int removeLeftoverTemporaries(const std::string& folder);

// Appends one record (CP932, CR LF) to path, creating it when missing, and hands it to
// the system at once (no buffering in the game). When the write fails part way (a full
// disk), the file is put back to its size before the call and GameError is thrown.
void appendLine(const std::string& path, const std::string& line);
// The same for bytes as they are (each record ending with its own line end); a last line
// left without its end first gets `lineEnd`.
void appendBytes(const std::string& path, std::string bytes, const std::string& lineEnd);

bool fileExists(const std::string& path);

// The last part of a path, for messages.
std::string baseName(const std::string& path);

}  // namespace kisharin
