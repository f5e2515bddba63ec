// The train that runs on a line: its picture number, its four colours and its line
// flag, written as the descriptor at position 0 of the line's prefecture row:
// picture\r;g;b\r;g;b\r;g;b\r;g;b\flag.
#pragma once

#include <string>

#include "databuilder/open_data.h"

namespace kisharin::databuilder {

// Picture numbers of the train pictures Train/1.bmp … Train/8.bmp.
enum TrainPicture {
    kShinkansen = 1,  // 新幹線
    kMainLine = 2,    // JR main lines (本線) and express lines (エクスプレス)
    kCommuter = 3,    // other JR lines and private railways
    kSubway = 4,      // subways (drawn underground)
    kTram = 5,        // trams and light rail
    kMonorail = 6,    // monorails and new transit
    kMountain = 7,    // cable cars and mountain railways
    kOtherTrain = 8,  // guideway buses and sightseeing trolleys
};

// The picture of a line, from its name and its operator (company may be null).
int trainPicture(const OpenLine& line, const Company* company);

// The line's own colour; a line without one takes its JR company's colour, or a
// colour of its own drawn from its line code (always the same for the same line).
Rgb lineColor(const OpenLine& line);

// The descriptor text for a picture and a line colour. Field 1 is a dark shade of the
// colour (roof), field 2 the colour itself (band), field 3 a light shade (second band),
// field 4 a pale tint (body; the roof of a tram, whose body takes field 2). Field 5 is
// "2" for subways (underground), "1" for commuter trains and new transit (bare metal
// bodies that look grey at night), "0" otherwise.
std::string trainDescriptor(int picture, const Rgb& color);

}  // namespace kisharin::databuilder
