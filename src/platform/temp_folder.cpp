#include "platform/temp_folder.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "state/error.h"

namespace kisharin {

TempFolder::TempFolder(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) throw GameError("一時フォルダを作れません: " + pattern);
    path_ = pattern + "/";
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace kisharin
