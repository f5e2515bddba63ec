// The first command a new developer runs: scripts/install-deps.sh against stand-ins for
// apt, dpkg and sudo. It says in one line what it installs and where apt's output went,
// shows that output's end only on failure, and without root or sudo says what to run.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/text_file.h"
#include "support/fakes.h"

namespace kisharin::testing {
namespace {

struct ScriptRun {
    int status = -1;
    std::string output;  // stdout and stderr together
};

class InstallDeps : public ::testing::Test {
  protected:
    ScratchDir dir;
    std::string bin = dir.file("bin");

    void SetUp() override {
        ::mkdir(bin.c_str(), 0755);
        for (const char* tool : {"tail", "mktemp", "cat"})
            for (const char* where : {"/usr/bin/", "/bin/"})
                if (::access((std::string(where) + tool).c_str(), X_OK) == 0) {
                    ASSERT_EQ(::symlink((std::string(where) + tool).c_str(), (bin + "/" + tool).c_str()), 0);
                    break;
                }
        // Every package is missing; apt talks a lot, and fails when told to.
        tool("dpkg-query", "echo 'unknown ok not-installed'");
        tool("id", "echo \"$FAKE_UID\"");
        tool("apt-get",
             "i=0; while [ $i -lt 450 ]; do echo \"Get:$i chatter $*\"; i=$((i+1)); done\n"
             "case \"$*\" in *install*) [ -n \"$FAKE_APT_FAIL\" ] && { echo 'E: Unable to locate package "
             "frobnicate'; exit 100; } ;; esac\nexit 0");
    }
    void tool(const std::string& name, const std::string& body) {
        writeBytesAtomic(bin + "/" + name, "#!/bin/sh\n" + body + "\n");
        ::chmod((bin + "/" + name).c_str(), 0755);
    }
    ScriptRun run(const std::string& env) {
        // The source tree holds tests/fixtures; the script is in its scripts folder.
        std::string root = KISHARIN_TEST_FIXTURES;
        root.resize(root.rfind("/tests/"));
        const std::string script = root + "/scripts/install-deps.sh";
        const std::string cmd = "/usr/bin/env -i PATH=" + bin + " TMPDIR=" + dir.path() + " " + env +
                                " /bin/bash " + script + " 2>&1";
        ScriptRun r;
        FILE* f = ::popen(cmd.c_str(), "r");
        if (!f) return r;
        char buf[4096];
        while (size_t n = std::fread(buf, 1, sizeof buf, f)) r.output.append(buf, n);
        const int st = ::pclose(f);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
        return r;
    }
    static int lineCount(const std::string& text) {
        int n = 0;
        for (char c : text) n += c == '\n';
        return n;
    }
    // The log path the one line names.
    static std::string logPath(const std::string& output) {
        const size_t at = output.find("log: ");
        if (at == std::string::npos) return {};
        return output.substr(at + 5, output.find('\n', at) - at - 5);
    }
};

TEST_F(InstallDeps, AsRootItPrintsOneLineAndKeepsAptsOutputInTheNamedLog) {
    const ScriptRun r = run("FAKE_UID=0");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(lineCount(r.output), 1) << r.output;
    EXPECT_NE(r.output.find("qt6-base-dev"), std::string::npos) << r.output;
    const std::string log = logPath(r.output);
    ASSERT_FALSE(log.empty()) << r.output;
    const std::string kept = readFileBytes(log);
    EXPECT_EQ(lineCount(kept), 900);  // update and install, 450 lines each
}

TEST_F(InstallDeps, OnFailureItShowsTheEndOfTheLog) {
    const ScriptRun r = run("FAKE_UID=0 FAKE_APT_FAIL=1");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.output.find("E: Unable to locate package frobnicate"), std::string::npos) << r.output;
    EXPECT_LT(lineCount(r.output), 40) << r.output;
    EXPECT_FALSE(logPath(r.output).empty()) << r.output;
}

TEST_F(InstallDeps, WithoutRootAndWithoutSudoItSaysWhatToRunAsRoot) {
    const ScriptRun r = run("FAKE_UID=1000");
    EXPECT_NE(r.status, 0);
    EXPECT_EQ(lineCount(r.output), 1) << r.output;
    EXPECT_NE(r.output.find("as root: apt-get install"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("libgtest-dev"), std::string::npos) << r.output;
    EXPECT_EQ(r.output.find("command not found"), std::string::npos) << r.output;
}

TEST_F(InstallDeps, WithoutRootItGoesThroughSudo) {
    tool("sudo", "echo \"sudo $*\" >> \"$TMPDIR/sudo.txt\"; exec \"$@\"");
    const ScriptRun r = run("FAKE_UID=1000");
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(lineCount(r.output), 1) << r.output;
    const std::string calls = readFileBytes(dir.file("sudo.txt"));
    EXPECT_NE(calls.find("sudo apt-get update"), std::string::npos) << calls;
    EXPECT_NE(calls.find("sudo apt-get install"), std::string::npos) << calls;
}

}  // namespace
}  // namespace kisharin::testing
