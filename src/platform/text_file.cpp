#include "platform/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/encoding.h"
#include "state/error.h"

namespace kisharin {

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool fileExists(const std::string& path) {
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw DataError(path, 0, "ファイルが見つからないか、開けません");
    std::ostringstream ss;
    ss << in.rdbuf();
    if (in.bad()) throw DataError(path, 0, "ファイルを読めません");
    return ss.str();
}

std::vector<std::string> decodeLines(const std::string& bytes, const std::string& name, size_t maxLines) {
    std::vector<std::string> lines;
    size_t start = 0;
    int number = 0;
    while (start < bytes.size() && lines.size() < maxLines) {
        size_t end = bytes.find('\n', start);
        const size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        ++number;
        auto text = cp932ToUtf8(std::string_view(bytes).substr(start, stop - start));
        if (!text) throw DataError(name, number, "Shift-JIS（CP932）として読めない文字があります");
        lines.push_back(std::move(*text));
        start = next;
    }
    return lines;
}

std::vector<std::string> readLines(const std::string& path) { return decodeLines(readFileBytes(path), path); }

std::string encodeLines(const std::vector<std::string>& lines, const std::string& name) {
    std::string out;
    int number = 0;
    for (const auto& line : lines) {
        ++number;
        auto bytes = utf8ToCp932(line);
        if (!bytes) throw DataError(name, number, "Shift-JIS（CP932）で書けない文字があります");
        out += *bytes;
        out += "\r\n";
    }
    return out;
}

namespace {
[[noreturn]] void writeFailed(const std::string& path, const char* what) {
    throw GameError("ファイル「" + path + "」を書けません（" + what + "：" + std::strerror(errno) + "）");
}
bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

void writeBytesAtomic(const std::string& path, const std::string& bytes) {
    std::string tmp = path + ".tmpXXXXXX";
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) writeFailed(path, "一時ファイル");
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        errno = saved;
        writeFailed(path, "書き込み");
    }
    ::fchmod(fd, 0644);
    if (::close(fd) != 0 || ::rename(tmp.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(tmp.c_str());
        errno = saved;
        writeFailed(path, "置き換え");
    }
}

void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    writeBytesAtomic(path, encodeLines(lines, path));
}

void appendLine(const std::string& path, const std::string& line) {
    const std::string bytes = encodeLines({line}, path);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0) writeFailed(path, "追記");
    // Handed to the system at once, so a crash of the game loses no record; no fsync:
    // arrivals come several a turn and a lost power supply is not worth the wait.
    const bool ok = writeAll(fd, bytes);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (!ok) writeFailed(path, "追記");
}

}  // namespace kisharin
