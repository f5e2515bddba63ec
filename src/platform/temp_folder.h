// A folder of one's own under the system's temporary folder, removed with everything in
// it when the object goes (the simulator's player folder, a replay's histories, a
// benchmark's files).
#pragma once

#include <string>

namespace kisharin {

class TempFolder {
  public:
    // Makes <tmp>/<prefix>XXXXXX; GameError (in Japanese, naming the folder) when it cannot.
    explicit TempFolder(const std::string& prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with "/".
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace kisharin
