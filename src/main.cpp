// キシャリン: a board game of travel by train across Japan.
#include <iostream>

#include "record/replay_command.h"
#include "screens/app.h"
#include "setup/command_line.h"

int main(int argc, char** argv) {
    if (const auto status = kisharin::runReplayCommand(argc, argv, std::cout, std::cerr)) return *status;
    if (const auto status = kisharin::runCommandLine(argc, argv, std::cout, std::cerr)) return *status;
    return kisharin::runApp(argc, argv);
}
