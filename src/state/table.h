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

// A large table whose rows are made when first written. The railway tables have room
// for 751 lines of 101 positions, of which a game fills a few hundred lines of a few
// dozen stations; a history file names a few stations. Reading a row never written
// gives the empty value, exactly as if the whole table had been made up front, so
// equality, copies and every reader behave as with Table2D. A reference from at() stays
// good until the table is destroyed or moved from (fill never frees a row).
template <typename T, int Rows, int Cols>
class RowTable {
public:
    RowTable() = default;
    explicit RowTable(const char* name) : name_(name) {}
    RowTable(const RowTable& o) : name_(o.name_) { copyRows(o); }
    RowTable& operator=(const RowTable& o) {
        if (this != &o) {
            for (int r = 0; r < Rows && rows_; ++r)
                if (rows_[r] && !o.hasRow(r)) std::fill(rows_[r].get(), rows_[r].get() + Cols, T());
            copyRows(o);
        }
        return *this;
    }
    RowTable(RowTable&& o) noexcept : rows_(std::move(o.rows_)), name_(o.name_) {}
    RowTable& operator=(RowTable&& o) noexcept {
        rows_ = std::move(o.rows_);
        return *this;
    }

    T& at(int r, int c) {
        check(r, c);
        return row(r)[c];
    }
    const T& at(int r, int c) const {
        check(r, c);
        return hasRow(r) ? rows_[r][c] : empty();
    }
    T& operator()(int r, int c) { return at(r, c); }
    const T& operator()(int r, int c) const { return at(r, c); }

    static constexpr bool inRange(int r, int c) { return r >= 0 && r < Rows && c >= 0 && c < Cols; }
    void fill(const T& v) {
        const bool toEmpty = v == T();
        for (int r = 0; r < Rows; ++r)
            if (!toEmpty || hasRow(r)) std::fill(row(r), row(r) + Cols, v);
    }
    static constexpr int rows() { return Rows; }
    static constexpr int cols() { return Cols; }
    bool operator==(const RowTable& o) const {
        for (int r = 0; r < Rows; ++r) {
            if (!hasRow(r) && !o.hasRow(r)) continue;
            for (int c = 0; c < Cols; ++c)
                if (at(r, c) != o.at(r, c)) return false;
        }
        return true;
    }

private:
    static const T& empty() {
        static const T value{};
        return value;
    }
    void check(int r, int c) const {
        if (!inRange(r, c)) throwIndexError(name_, r, c);
    }
    bool hasRow(int r) const { return rows_ && rows_[r]; }
    T* row(int r) {
        if (!rows_) rows_.reset(new std::unique_ptr<T[]>[Rows]);
        if (!rows_[r]) rows_[r].reset(new T[Cols]());
        return rows_[r].get();
    }
    void copyRows(const RowTable& o) {
        for (int r = 0; r < Rows; ++r)
            if (o.hasRow(r)) std::copy(o.rows_[r].get(), o.rows_[r].get() + Cols, row(r));
    }
    std::unique_ptr<std::unique_ptr<T[]>[]> rows_;
    const char* name_ = "table";
};

// A railway table: lines 0..750 by positions 0..100.
template <typename T>
using RailTable = RowTable<T, kLineSlots, kPositionSlots>;

}  // namespace kisharin
