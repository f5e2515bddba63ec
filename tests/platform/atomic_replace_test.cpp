// Replacing a file: the new contents survive a power loss once the call returns (file and
// folder flushed), the file keeps its permissions, and failures say why in Japanese.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/system_error.h"
#include "platform/text_file.h"
#include "state/error.h"
#include "support/fakes.h"

namespace {
// Every descriptor flushed by the program, as (device, inode, is a folder).
struct Flushed {
    dev_t dev;
    ino_t ino;
    bool folder;
};
std::vector<Flushed>& flushed() {
    static std::vector<Flushed> v;
    return v;
}
}  // namespace

// Stands in for the C library's fsync in this test program and notes what is flushed.
extern "C" int fsync(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) == 0) flushed().push_back({st.st_dev, st.st_ino, S_ISDIR(st.st_mode)});
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace kisharin {
namespace {

using testing::ScratchDir;

bool wasFlushed(const std::string& path, bool folder) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    for (const Flushed& f : flushed())
        if (f.dev == st.st_dev && f.ino == st.st_ino && f.folder == folder) return true;
    return false;
}

TEST(AtomicReplace, FileAndItsFolderAreFlushedSoTheRenameSurvivesPowerLoss) {
    ScratchDir dir;
    flushed().clear();
    writeLinesAtomic(dir.file("GameData1.txt"), {" 3 "});
    EXPECT_TRUE(wasFlushed(dir.file("GameData1.txt"), false));
    EXPECT_TRUE(wasFlushed(dir.path(), true)) << "the folder holding the renamed file was not flushed";
}

TEST(AtomicReplace, TheReplacedFileKeepsItsPermissions) {
    ScratchDir dir;
    const std::string path = dir.file("NameData.txt");
    for (mode_t mode : {0600, 0640, 0664}) {
        writeLinesAtomic(path, {"old"});
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        writeLinesAtomic(path, {"new"});
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
        EXPECT_EQ(readLines(path), std::vector<std::string>{"new"});
    }
    // A file written for the first time is the owner's to write and everyone's to read.
    const std::string fresh = dir.file("URL.txt");
    writeLinesAtomic(fresh, {"x"});
    struct stat st {};
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
}

TEST(SystemErrors, CommonFailuresAreExplainedInJapanese) {
    EXPECT_NE(systemErrorText(EACCES).find("権限がありません"), std::string::npos);
    EXPECT_EQ(systemErrorText(EPERM), systemErrorText(EACCES));
    EXPECT_NE(systemErrorText(ENOSPC).find("ディスクの空きがありません"), std::string::npos);
    EXPECT_NE(systemErrorText(EROFS).find("読み取り専用"), std::string::npos);
    EXPECT_NE(systemErrorText(ENOENT).find("ありません"), std::string::npos);
    EXPECT_NE(systemErrorText(EEXIST).find("すでにあります"), std::string::npos);
    for (int err : {EACCES, ENOSPC, EROFS, ENOENT, EEXIST, ELOOP, EFBIG})
        for (const char* english :
             {"Permission", "No space", "Read-only", "No such", "exists", "symbolic", "too large"})
            EXPECT_EQ(systemErrorText(err).find(english), std::string::npos) << err;
}

TEST(SystemErrors, FailedReadsAndWritesNameTheFileAndTheReasonInJapanese) {
    ScratchDir dir;
    const std::string missing = dir.file("no/such/履歴0.txt");
    auto messageOf = [](auto&& action) -> std::string {
        try {
            action();
        } catch (const GameError& e) {
            return e.what();
        }
        return "(no error)";
    };
    const std::string write = messageOf([&] { writeLinesAtomic(missing, {"x"}); });
    EXPECT_NE(write.find(missing), std::string::npos) << write;
    EXPECT_NE(write.find(systemErrorText(ENOENT)), std::string::npos) << write;
    EXPECT_EQ(write.find("No such"), std::string::npos) << write;

    const std::string read = messageOf([&] { readFileBytes(missing); });
    EXPECT_NE(read.find(missing), std::string::npos) << read;
    EXPECT_NE(read.find("見つからない"), std::string::npos) << read;

    // /dev/full refuses every write with "no space left on the device".
    if (::access("/dev/full", W_OK) == 0) {
        const std::string full = messageOf([] { appendLine("/dev/full", "12 5"); });
        EXPECT_NE(full.find("/dev/full"), std::string::npos) << full;
        EXPECT_NE(full.find(systemErrorText(ENOSPC)), std::string::npos) << full;
    }
}

TEST(AppendRecord, ALastLineWithoutItsEndIsEndedBeforeTheNewRecord) {
    ScratchDir dir;
    const std::string path = dir.file("履歴0.txt");
    struct Case {
        std::string before, after;
    };
    for (const Case& c :
         {Case{"12 5", "12 5\r\n13 6\r\n"}, Case{"12 5\r", "12 5\r\n13 6\r\n"},
          Case{"12 5\n", "12 5\n13 6\r\n"}, Case{"12 5\r\n", "12 5\r\n13 6\r\n"}, Case{"", "13 6\r\n"}}) {
        writeBytesAtomic(path, c.before);
        appendLine(path, "13 6");
        EXPECT_EQ(readFileBytes(path), c.after) << c.before;
    }
}

}  // namespace
}  // namespace kisharin
