#include "state/error.h"

namespace kisharin {

namespace {
std::string compose(const std::string& file, int line, const std::string& what) {
    std::string text = "ファイル「" + file + "」";
    if (line > 0) text += "の" + std::to_string(line) + "行目";
    return text + "：" + what;
}
}  // namespace

DataError::DataError(std::string file, int line, std::string what)
    : GameError(compose(file, line, what)), file_(std::move(file)), line_(line), what_(std::move(what)) {}

}  // namespace kisharin
