// Test doubles for the clock and the generator, and a scratch folder per test.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "state/clock.h"
#include "state/rng.h"

namespace kisharin::testing {

// A clock that shows what the test sets; timer() advances by `step` per call.
class FakeClock : public Clock {
public:
    double serial = 45000.5;  // 2023-03-15 12:00
    double time = 1000.0;
    double step = 0.0;
    double now() override { return serial; }
    double timer() override {
        const double t = time;
        time += step;
        return t;
    }
};

// A generator that returns the given values in turn, then repeats them. reseed()
// only counts; the sequence goes on.
class SequenceRng : public Rng {
public:
    explicit SequenceRng(std::vector<double> values) : values_(std::move(values)) {}
    double next() override {
        const double v = values_[i_ % values_.size()];
        ++i_;
        return v;
    }
    void reseed(double seed) override {
        ++reseeds;
        lastSeed = seed;
    }
    int reseeds = 0;
    double lastSeed = 0;
    size_t drawn() const { return i_; }

private:
    std::vector<double> values_;
    size_t i_ = 0;
};

// A fresh folder under the system's temporary folder, removed at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kisharin-test-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string path() const { return path_ + "/"; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old, had_ = true;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_)
            ::setenv(name_.c_str(), old_.c_str(), 1);
        else
            ::unsetenv(name_.c_str());
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_, old_;
    bool had_ = false;
};

}  // namespace kisharin::testing
