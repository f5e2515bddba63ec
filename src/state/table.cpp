#include "state/table.h"

namespace kisharin {

void throwIndexError(const char* table, int row, int col) {
    throw GameError(std::string("内部エラー：表「") + table + "」の範囲外の位置 (" + std::to_string(row) + ", " +
                    std::to_string(col) + ") を参照しました");
}

void throwIndexError(const char* table, int index) {
    throw GameError(std::string("内部エラー：配列「") + table + "」の範囲外の位置 (" + std::to_string(index) +
                    ") を参照しました");
}

}  // namespace kisharin
