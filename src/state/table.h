// Fixed-size tables with checked access. An index out of range raises a GameError
// naming the table and the index instead of touching memory it does not own.
#pragma once

#include <algorithm>
#include <array>
#include <memory>
#include <string>

#include "state/error.h"
#include "state/types.h"

namespace kisharin {

[[noreturn]] void throwIndexError(const char* table, int row, int col);
[[noreturn]] void throwIndexError(const char* table, int index);

// rows x cols, indexed (row, col) from 0.
template <typename T, int Rows, int Cols>
class Table2D {
public:
    Table2D() : cells_(new T[static_cast<size_t>(Rows) * Cols]()) {}
    explicit Table2D(const char* name) : Table2D() { name_ = name; }
    Table2D(const Table2D& o) : Table2D() { *this = o; }
    Table2D& operator=(const Table2D& o) {
        if (this != &o) std::copy(o.cells_.get(), o.cells_.get() + kSize, cells_.get());
        return *this;
    }
    Table2D(Table2D&&) noexcept = default;
    Table2D& operator=(Table2D&&) noexcept = default;

    T& at(int r, int c) { return cells_[index(r, c)]; }
    const T& at(int r, int c) const { return cells_[index(r, c)]; }
    T& operator()(int r, int c) { return at(r, c); }
    const T& operator()(int r, int c) const { return at(r, c); }

    static constexpr bool inRange(int r, int c) { return r >= 0 && r < Rows && c >= 0 && c < Cols; }
    void fill(const T& v) { std::fill(cells_.get(), cells_.get() + kSize, v); }
    static constexpr int rows() { return Rows; }
    static constexpr int cols() { return Cols; }
    bool operator==(const Table2D& o) const {
        return std::equal(cells_.get(), cells_.get() + kSize, o.cells_.get());
    }

private:
    size_t index(int r, int c) const {
        if (!inRange(r, c)) throwIndexError(name_, r, c);
        return static_cast<size_t>(r) * Cols + static_cast<size_t>(c);
    }
    static constexpr size_t kSize = static_cast<size_t>(Rows) * Cols;
    std::unique_ptr<T[]> cells_;
    const char* name_ = "table";
};

// One dimension, indexed from 0.
template <typename T, int N>
class Array1D {
public:
    Array1D() : cells_{} {}
    T& at(int i) { return cells_[index(i)]; }
    const T& at(int i) const { return cells_[index(i)]; }
    T& operator[](int i) { return at(i); }
    const T& operator[](int i) const { return at(i); }
    static constexpr int size() { return N; }
    void fill(const T& v) { cells_.fill(v); }
    auto begin() { return cells_.begin(); }
    auto end() { return cells_.end(); }
    auto begin() const { return cells_.begin(); }
    auto end() const { return cells_.end(); }
    friend bool operator==(const Array1D&, const Array1D&) = default;

private:
    size_t index(int i) const {
        if (i < 0 || i >= N) throwIndexError("array", i);
        return static_cast<size_t>(i);
    }
    std::array<T, N> cells_;
};

// A railway table: lines 0..750 by positions 0..100.
template <typename T>
using RailTable = Table2D<T, kLineSlots, kPositionSlots>;

}  // namespace kisharin
