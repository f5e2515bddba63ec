#include "maps/kept_map.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <utility>
#include <vector>

namespace kisharin {

namespace {

// The size and time of each of a prefecture's six files; empty when one cannot be read.
using FileStamps = std::vector<std::pair<std::uintmax_t, std::filesystem::file_time_type>>;
FileStamps stampsOf(const std::string& mapDataDir, const std::string& pref) {
    const std::string folder = prefectureFolder(mapDataDir, pref);
    FileStamps out;
    for (const char* file : kMapFiles) {
        std::error_code e1, e2;
        const std::filesystem::path path = std::filesystem::u8path(folder + file);
        const std::uintmax_t size = std::filesystem::file_size(path, e1);
        const auto time = std::filesystem::last_write_time(path, e2);
        if (e1 || e2) return {};
        out.emplace_back(size, time);
    }
    return out;
}

struct KeptMap {
    std::string dir, pref;
    FileStamps stamps;
    std::shared_ptr<const MapData> data;

    bool holds(const std::string& d, const std::string& p) const { return data && dir == d && pref == p; }
};

// The prefecture read last (by an opening or ahead of one) and the read ahead asked for
// last, shared by the windows' thread and the reading thread.
struct Keeper {
    std::mutex lock;
    std::condition_variable done;
    KeptMap kept;
    int ticket = 0;  // the last read ahead asked for, and its prefecture
    std::string wantDir, wantPref;
    bool reading = false;  // a read ahead is under way, of this prefecture
    std::string readingDir, readingPref;
};

Keeper& keeper() {
    static Keeper k;
    return k;
}

// Reads the data and its stamps; kept only if no file changed while it was read.
KeptMap readWithStamps(const std::string& mapDataDir, const std::string& pref) {
    FileStamps stamps = stampsOf(mapDataDir, pref);
    auto data = std::make_shared<const MapData>(kisharin::データ読込(mapDataDir, pref));
    if (stamps.empty() || stamps != stampsOf(mapDataDir, pref))
        return {mapDataDir, pref, {}, std::move(data)};
    return {mapDataDir, pref, std::move(stamps), std::move(data)};
}

}  // namespace

std::shared_ptr<const MapData> readKeptMap(const std::string& mapDataDir, const std::string& pref) {
    Keeper& k = keeper();
    {
        std::unique_lock<std::mutex> hold(k.lock);
        // A read ahead of this very prefecture is nearly done: waiting for it is quicker than
        // reading again.
        k.done.wait(hold,
                    [&] { return !(k.reading && k.readingDir == mapDataDir && k.readingPref == pref); });
        if (k.kept.holds(mapDataDir, pref) && !k.kept.stamps.empty()) {
            const KeptMap kept = k.kept;
            hold.unlock();
            if (kept.stamps == stampsOf(mapDataDir, pref)) return kept.data;
        }
    }
    KeptMap read = readWithStamps(mapDataDir, pref);
    std::shared_ptr<const MapData> data = read.data;
    if (!read.stamps.empty()) {
        std::lock_guard<std::mutex> hold(k.lock);
        k.kept = std::move(read);
    }
    return data;
}

int wantReadAhead(const std::string& mapDataDir, const std::string& pref) {
    Keeper& k = keeper();
    std::lock_guard<std::mutex> hold(k.lock);
    k.wantDir = mapDataDir;
    k.wantPref = pref;
    return ++k.ticket;
}

std::shared_ptr<const MapData> readAhead(int ticket) {
    Keeper& k = keeper();
    std::string dir, pref;
    {
        // One read at a time: a read of an earlier prefecture is let finish.
        std::unique_lock<std::mutex> hold(k.lock);
        k.done.wait(hold, [&] { return !k.reading || ticket != k.ticket; });
        if (ticket != k.ticket) return nullptr;
        dir = k.wantDir;
        pref = k.wantPref;
        if (k.kept.holds(dir, pref) && !k.kept.stamps.empty() && k.kept.stamps == stampsOf(dir, pref))
            return k.kept.data;
        k.reading = true;
        k.readingDir = dir;
        k.readingPref = pref;
    }
    KeptMap read;
    try {
        read = readWithStamps(dir, pref);
    } catch (...) {
        // Nothing escapes the reading thread; the opening reads the data again and says
        // what is wrong with it.
        read = {};
    }
    std::shared_ptr<const MapData> data = read.stamps.empty() ? nullptr : read.data;
    {
        std::lock_guard<std::mutex> hold(k.lock);
        k.reading = false;
        if (data) k.kept = std::move(read);
    }
    k.done.notify_all();
    return data;
}

bool readAheadWanted(int ticket) {
    Keeper& k = keeper();
    std::lock_guard<std::mutex> hold(k.lock);
    return ticket == k.ticket;
}

}  // namespace kisharin
