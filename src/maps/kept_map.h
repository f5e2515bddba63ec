// A prefecture's map data kept between openings of its map, and read ahead of an opening
// while the player's pointer rests on the prefecture's name.
#pragma once

#include <memory>
#include <string>

#include "maps/map_data.h"

namespace kisharin {

// The data of prefecture `pref` as データ読込 reads it, with its faults thrown. The
// prefecture read last is kept with the size and time of each of its six files, and is
// neither read nor checked again while none of them has changed (a map opened again is
// most often the player's own prefecture). A prefecture read ahead is taken the same way;
// a read ahead of it still under way is waited for.
std::shared_ptr<const MapData> readKeptMap(const std::string& mapDataDir, const std::string& pref);

// Reading ahead, in two steps: the window asks for a prefecture on its own thread and gets
// a ticket, then reads it on another thread with readAhead. Only the prefecture asked for
// last is read: a ticket asked for before it reads nothing.
int wantReadAhead(const std::string& mapDataDir, const std::string& pref);
// Reads the prefecture of `ticket` on the calling thread and keeps it for its opening.
// The data read or kept already, or nullptr (another prefecture was asked for since, or
// the data has a fault: the opening reads it again and reports it).
std::shared_ptr<const MapData> readAhead(int ticket);
// Whether `ticket` is still the read ahead asked for last (the pointer has not moved on to
// another name): what is done after the read is worth doing only then.
bool readAheadWanted(int ticket);

}  // namespace kisharin
