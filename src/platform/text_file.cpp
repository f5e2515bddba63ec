#include "platform/text_file.h"

#include <algorithm>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>

#include "platform/encoding.h"
#include "platform/system_error.h"
#include "state/error.h"

namespace kisharin {

std::string baseName(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string readFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT) throw DataError(path, 0, "ファイルが見つからないため、開けません");
        throw DataError(path, 0, "ファイルを開けません（" + systemErrorText(err) + "）");
    }
    std::string bytes;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int saved = errno;
            ::close(fd);
            throw DataError(path, 0, "ファイルを読めません（" + systemErrorText(saved) + "）");
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
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
        const std::string_view raw = std::string_view(bytes).substr(start, stop - start);
        // Plain ASCII (most lines of the map files) reads the same in CP932 and UTF-8.
        if (std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            lines.emplace_back(raw);
        } else {
            auto text = cp932ToUtf8(raw);
            if (!text) throw DataError(name, number, "Shift-JIS（CP932）として読めない文字があります");
            lines.push_back(std::move(*text));
        }
        start = next;
    }
    return lines;
}

std::vector<std::string> readLines(const std::string& path) {
    return decodeLines(readFileBytes(path), path);
}

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
[[noreturn]] void writeFailed(const std::string& path, int err) {
    throw GameError("ファイル「" + path + "」を書けません（" + systemErrorText(err) + "）");
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
std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
// Makes a rename in the folder durable: the folder's entry is flushed like the file's data.
// A file system that cannot flush folders (EINVAL) has nothing to flush.
int syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int err = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return err;
}
// The file a write to path changes. A player's file may be a link to a file kept
// elsewhere: an append follows it, so a replacement does too (the link stays, the file it
// points at is replaced), also when that file does not exist yet. A chain of links is
// followed to its end; a loop is refused (ELOOP), as opening it for an append is.
std::string writeTarget(const std::string& path) {
    std::string target = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
        std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n <= 0 || static_cast<size_t>(n) >= link.size()) return target;
        link.resize(static_cast<size_t>(n));
        target = link[0] == '/' ? link : folderOf(target) + "/" + link;
    }
    writeFailed(path, ELOOP);
}
constexpr char kTemporarySuffix[] = ".tmpXXXXXX";
}  // namespace

void writeBytesAtomic(const std::string& linkOrFile, const std::string& bytes) {
    const std::string path = writeTarget(linkOrFile);
    // The new file takes the permissions of the one it replaces; a new file is readable
    // by all and writable by its owner.
    mode_t mode = 0644;
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) mode = old.st_mode & 07777;

    std::string tmp = path + kTemporarySuffix;
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0) writeFailed(linkOrFile, errno);
    if (!writeAll(fd, bytes) || ::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        writeFailed(linkOrFile, saved);
    }
    if (::close(fd) != 0 || ::rename(tmp.c_str(), path.c_str()) != 0) {
        const int saved = errno;
        ::unlink(tmp.c_str());
        writeFailed(linkOrFile, saved);
    }
    if (const int err = syncFolder(folderOf(path))) writeFailed(linkOrFile, err);
}

int removeLeftoverTemporaries(const std::string& folder) {
    // Only what a replacement leaves: a plain file "<name>.txt.tmp" and six letters or digits.
    const std::string_view stem = ".txt.tmp";
    int removed = 0;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    while (const dirent* e = ::readdir(dir)) {
        const std::string_view name = e->d_name;
        constexpr size_t kRandom = sizeof kTemporarySuffix - sizeof ".tmp";
        if (name.size() <= stem.size() + kRandom) continue;
        if (name.substr(name.size() - kRandom - stem.size(), stem.size()) != stem) continue;
        const std::string_view random = name.substr(name.size() - kRandom);
        if (!std::all_of(random.begin(), random.end(),
                         [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
            continue;
        const std::string path = (folder.ends_with('/') ? folder : folder + "/") + std::string(name);
        struct stat st {};
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.c_str()) == 0) ++removed;
    }
    ::closedir(dir);
    return removed;
}

void writeLinesAtomic(const std::string& path, const std::vector<std::string>& lines) {
    writeBytesAtomic(path, encodeLines(lines, path));
}

void appendLine(const std::string& path, const std::string& line) {
    appendBytes(path, encodeLines({line}, path), "\r\n");
}

void appendBytes(const std::string& path, std::string bytes, const std::string& lineEnd) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) writeFailed(path, errno);
    // A last line left without its end (a file edited by hand) gets one first, so that
    // the new record stands on a line of its own.
    struct stat st {};
    char last = '\n';
    if (::fstat(fd, &st) != 0 || (st.st_size > 0 && ::pread(fd, &last, 1, st.st_size - 1) != 1)) {
        const int saved = errno;
        ::close(fd);
        writeFailed(path, saved);
    }
    if (last != '\n') bytes.insert(0, last == '\r' ? "\n" : lineEnd);
    // Handed to the system at once, so a crash of the game loses no record; no fsync:
    // arrivals come several a turn and a lost power supply is not worth the wait.
    // A write cut short (a full disk) must not leave part of a record: "123 4" of
    // "123 45" would read as a good arrival. The file is put back to its old size.
    const bool ok = writeAll(fd, bytes);
    const int saved = errno;
    if (!ok) (void)::ftruncate(fd, st.st_size);
    ::close(fd);
    if (!ok) writeFailed(path, saved);
}

}  // namespace kisharin
