#include "setup/command_line.h"

#include <string>
#include <string_view>

#include "maps/conquest_record.h"
#include "platform/data_home.h"
#include "state/error.h"

#ifndef KISHARIN_VERSION
#define KISHARIN_VERSION "0"
#endif

namespace kisharin {

namespace {

const char* const kHelp =
    "使い方: kisharin [オプション]\n"
    "二人で日本中の鉄道を旅するすごろくゲーム「キシャリン」を起動します。\n"
    "\n"
    "オプション:\n"
    "  --conquest   乗りつぶし記録（到達した駅と制覇した路線）をタブ区切りで出力して終了します\n"
    "  --replay ファイル  ゲームの記録（GameRecord.jsonl など）を画面なしで再生し、終わりの\n"
    "               ポイント（points）・所持金（money）・到達した目的地の数（arrived）を\n"
    "               プレイヤー1、プレイヤー2 の順に数だけで出力して終了します\n"
    "  --story ファイル  ゲームの記録（GameRecord.jsonl など）の「対戦の記録」の画面を開きます\n"
    "               （ポイントと所持金のグラフ、できごと、旅の道のりの地図）\n"
    "  --help       この説明を表示して終了します\n"
    "  --version    版を表示して終了します\n"
    "\n"
    "--conquest の出力は見出し行「kind name player1 player2 total」に続き、\n"
    "都道府県（prefecture：到達駅数）、地方（region）、路線（line：到達した駅位置の数）、\n"
    "全体（all stations / all conquered_lines：飛行機の路線を除く）の行です。\n"
    "player1・player2 は各プレイヤーの数、total はその対象の総数です。\n"
    "駅は都道府県ごとの駅名で数え、複数の路線の駅も一つと数えます。\n"
    "\n"
    "環境変数:\n"
    "  KISHARIN_DATA_HOME  設定と到達履歴を置くフォルダ（既定 ~/.local/share/kisharin）\n"
    "  KISHARIN_DATA_DIR   ゲームに付属するデータのフォルダ\n"
    "  KISHARIN_SEED       乱数の種（0～86399 の数）。決まった種で始めると、同じ操作で\n"
    "                      同じゲームになります（試験や不具合の再現に）\n";

int printConquest(std::ostream& out, std::ostream& err) {
    const std::string shipped = shippedDataDir();
    try {
        const ConquestInputs in =
            readConquestInputs(shipped + "GameData/駅.txt", userDataDir() + "GameData/履歴");
        for (const std::string& n : in.notices) err << "kisharin: " << n << '\n';
        out << conquestTsv(conquestRecord(in.railway, in.visited[0], in.visited[1]));
        out.flush();
        if (!out) {
            err << "kisharin: 出力を書き込めませんでした\n";
            return 1;
        }
        return 0;
    } catch (const GameError& e) {
        err << "kisharin: " << e.what() << '\n';
        return 1;
    }
}

// Options Qt takes for itself (with one dash or two), handed on to it.
bool qtOption(std::string_view a) {
    a.remove_prefix(a.starts_with("--") ? 2 : 1);
    a = a.substr(0, a.find('='));
    static const std::string_view known =
        " platform platformpluginpath platformtheme plugin qwindowgeometry qwindowicon qwindowtitle reverse "
        "session style stylesheet widgetcount display geometry name title visual nograb dograb sync "
        "fontengine ";
    return !a.empty() && known.find(" " + std::string(a) + " ") != std::string_view::npos;
}

}  // namespace

std::optional<int> runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::optional<std::string_view> ours;
    bool story = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "--story") {
            if (story || i + 1 >= argc) {
                err << "kisharin: --story には記録のファイルを一つだけ指定します\n"
                    << "詳しくは「kisharin --help」を見てください。\n";
                return 2;
            }
            story = true;
            ++i;  // the file, whatever its name
        } else if (a == "--conquest" || a == "--help" || a == "-h" || a == "--version") {
            if (ours && *ours != a) {
                err << "kisharin: " << *ours << " と " << a << " は一緒に使えません\n"
                    << "詳しくは「kisharin --help」を見てください。\n";
                return 2;
            }
            ours = a;
        } else if (a.starts_with("--") && a.size() > 2 && !qtOption(a)) {
            err << "kisharin: 知らないオプションです: " << a << "\n"
                << "詳しくは「kisharin --help」を見てください。\n";
            return 2;
        }
    }
    if (story && ours && (*ours == "--conquest")) {
        err << "kisharin: --story と " << *ours << " は一緒に使えません\n"
            << "詳しくは「kisharin --help」を見てください。\n";
        return 2;
    }
    if (!ours) return std::nullopt;
    if (*ours == "--help" || *ours == "-h") {
        out << kHelp;
        return 0;
    }
    if (*ours == "--version") {
        out << "kisharin " KISHARIN_VERSION "\n";
        return 0;
    }
    return printConquest(out, err);
}

std::optional<std::string> storyFileArgument(int argc, const char* const* argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string_view(argv[i]) == "--story") return std::string(argv[i + 1]);
    return std::nullopt;
}

}  // namespace kisharin
