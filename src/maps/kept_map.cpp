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

// Reads the data and its stamps; the stamps are left empty (the data is not to be kept)
// when a file changed while it was read.
KeptMap readWithStamps(const std::string& mapDataDir, const std::string& pref) {
    FileStamps stamps = stampsOf(mapDataDir, pref);
    auto data = std::make_shared<const MapData>(kisharin::データ読込(mapDataDir, pref));
    if (stamps.empty() || stamps != stampsOf(mapDataDir, pref))
        return {mapDataDir, pref, {}, std::move(data)};
    return {mapDataDir, pref, std::move(stamps), std::move(data)};
}

// The kept data of the prefecture if none of its files has changed since (looked at
// outside the lock), else nullptr.
std::shared_ptr<const MapData> keptIfFresh(Keeper& k, const std::string& mapDataDir,
                                           const std::string& pref) {
    KeptMap kept;
    {
        std::lock_guard<std::mutex> hold(k.lock);
        if (!k.kept.holds(mapDataDir, pref)) return nullptr;
        kept = k.kept;
    }
    return kept.stamps == stampsOf(mapDataDir, pref) ? kept.data : nullptr;
}

// Keeps what was read, unless a file changed while it was read.
void keep(Keeper& k, KeptMap&& read) {
    if (read.stamps.empty()) return;
    std::lock_guard<std::mutex> hold(k.lock);
    k.kept = std::move(read);
}

}  // namespace

std::shared_ptr<const MapData> readKeptMap(const std::string& mapDataDir, const std::string& pref) {
    Keeper& k = keeper();
    {
        // A read ahead of this very prefecture is nearly done: waiting for it is quicker than
        // reading again.
        std::unique_lock<std::mutex> hold(k.lock);
        k.done.wait(hold,
                    [&] { return !(k.reading && k.readingDir == mapDataDir && k.readingPref == pref); });
    }
    if (std::shared_ptr<const MapData> kept = keptIfFresh(k, mapDataDir, pref)) return kept;
    KeptMap read = readWithStamps(mapDataDir, pref);
    std::shared_ptr<const MapData> data = read.data;
    keep(k, std::move(read));
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
        k.reading = true;
        k.readingDir = dir;
        k.readingPref = pref;
    }
    std::shared_ptr<const MapData> data = keptIfFresh(k, dir, pref);
    if (!data) {
        try {
            KeptMap read = readWithStamps(dir, pref);
            if (!read.stamps.empty()) data = read.data;
            keep(k, std::move(read));
        } catch (...) {
            // Nothing escapes the reading thread; the opening reads the data again and says
            // what is wrong with it.
        }
    }
    {
        std::lock_guard<std::mutex> hold(k.lock);
        k.reading = false;
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
