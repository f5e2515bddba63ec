#include "record/replay_command.h"

#include <string>
#include <string_view>

#include "platform/data_home.h"
#include "record/game_record.h"
#include "state/error.h"

namespace kisharin {

std::optional<int> runReplayCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    int at = 0;
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--replay") at = i;
    if (at == 0) return std::nullopt;
    if (at + 1 >= argc || argc != 3) {
        err << "kisharin: --replay には記録のファイルを一つだけ指定します（ほかのオプションとは使えません）\n"
            << "詳しくは「kisharin --help」を見てください。\n";
        return 2;
    }
    try {
        const std::vector<ReplayEnd> games = replayRecord(argv[at + 1], shippedDataDir());
        bool allMatch = true;
        for (size_t i = 0; i < games.size(); ++i) {
            if (games.size() > 1) out << "game " << i + 1 << "\n";
            out << endText(games[i]);
            if (!games[i].matches) {
                err << "kisharin: " << argv[at + 1] << ": ゲーム " << i + 1
                    << " の再生の終わりが、記録に書かれた終わりと違います\n";
                allMatch = false;
            }
        }
        out.flush();
        return allMatch ? 0 : 1;
    } catch (const GameError& e) {
        err << "kisharin: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace kisharin
