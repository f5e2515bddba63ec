#include "setup/settings.h"

#include <optional>

#include "board/history_file.h"
#include "platform/encoding.h"
#include "platform/text_file.h"
#include "setup/values.h"
#include "state/error.h"

namespace kisharin {

namespace {

constexpr const char* kNameFile = "NameData.txt";
constexpr const char* kUrlFile = "URL.txt";

// The lines of a settings file, or the reason it could not be read.
struct FileLines {
    std::optional<std::vector<std::string>> lines;
    std::string problem;
};

FileLines load(const std::string& path) {
    FileLines f;
    if (!fileExists(path)) {
        f.problem = DataError(baseName(path), 0, "ファイルがありません").what();
        return f;
    }
    try {
        f.lines = readLines(path);
    } catch (const GameError& e) {
        f.problem = e.what();
    }
    return f;
}

// One value of a settings file: what the player's file says when it is good, else the
// shipped file's, else the built-in one.
class Resolver {
  public:
    Resolver(const FileLines& user, const FileLines& shipped, const char* file,
             std::vector<std::string>& problems)
        : user_(user), shipped_(shipped), file_(file), problems_(problems) {}

    // line is 1-based; check says why a text is not acceptable (empty when it is).
    template <typename Check>
    std::string text(int line, const std::string& builtIn, Check check) {
        std::string why;
        if (user_.lines) {
            if (static_cast<int>(user_.lines->size()) < line) {
                why = "行がありません";
            } else {
                const std::string& v = (*user_.lines)[static_cast<size_t>(line - 1)];
                why = check(v);
                if (why.empty()) return v;
            }
        }
        std::string fallback = builtIn;
        if (shipped_.lines && static_cast<int>(shipped_.lines->size()) >= line &&
            check((*shipped_.lines)[static_cast<size_t>(line - 1)]).empty())
            fallback = (*shipped_.lines)[static_cast<size_t>(line - 1)];
        // A missing file is reported once, not once per line.
        if (user_.lines)
            problems_.push_back(
                DataError(file_, line, why + "。「" + trimBlanks(fallback) + "」を使います").what());
        return fallback;
    }

    int option(int line, int builtIn, int maxValue) {
        const std::string t = text(line, " " + std::to_string(builtIn) + " ", [&](const std::string& v) {
            const auto n = parseInteger(v);
            if (!n) return std::string("数値ではありません（「") + v + "」）";
            if (*n < 0 || *n > maxValue)
                return "値 " + std::to_string(*n) + " は 0～" + std::to_string(maxValue) + " の範囲外です";
            return std::string();
        });
        return static_cast<int>(*parseInteger(t));
    }

  private:
    const FileLines& user_;
    const FileLines& shipped_;
    const char* file_;
    std::vector<std::string>& problems_;
};

// A carriage return alone inside a line is no line end to the reader, but the text
// boxes cannot hold one: it would break the name or the address apart.
std::string checkLineBreak(const std::string& v) {
    return v.find('\r') == std::string::npos ? std::string() : std::string("行の途中に改行文字（CR）があります");
}

std::string checkUrl(const std::string& v) {
    if (const std::string why = checkLineBreak(v); !why.empty()) return why;
    if (const int n = charCount(v); n > kUrlLimit)
        return "アドレスが " + std::to_string(n) + " 文字あります（" + std::to_string(kUrlLimit) +
               " 文字まで）";
    return {};
}

std::string checkName(const std::string& v) {
    if (!representableInCp932(v)) return "名前に使えない文字があります";
    if (const std::string why = checkLineBreak(v); !why.empty()) return why;
    if (charCount(v) > kNameLimit)
        return "名前が" + std::to_string(kNameLimit) + "文字を超えています（「" + v + "」）";
    return {};
}

}  // namespace

SettingsLoad readSettings(const std::string& gameDataDir, const std::string& shippedGameDataDir) {
    SettingsLoad out;
    const Settings builtIn;
    {
        const FileLines user = load(gameDataDir + kNameFile);
        const FileLines shipped = load(shippedGameDataDir + kNameFile);
        if (!user.lines) out.problems.push_back(user.problem + "。既定の設定を使います");
        Resolver r(user, shipped, kNameFile, out.problems);
        out.settings.name1 = r.text(1, builtIn.name1, checkName);
        out.settings.name2 = r.text(2, builtIn.name2, checkName);
        out.settings.player = r.option(3, builtIn.player, 1);
        out.settings.shortOpt = r.option(4, builtIn.shortOpt, 1);
        out.settings.voiceOpt = r.option(5, builtIn.voiceOpt, 1);
        out.settings.area = r.option(6, builtIn.area, 8);
    }
    {
        const FileLines user = load(gameDataDir + kUrlFile);
        const FileLines shipped = load(shippedGameDataDir + kUrlFile);
        if (!user.lines) out.problems.push_back(user.problem + "。既定のURLを使います");
        Resolver r(user, shipped, kUrlFile, out.problems);
        out.settings.url = r.text(1, builtIn.url, checkUrl);
    }
    return out;
}

std::vector<std::string> nameDataLines(const Settings& st) {
    return {st.name1,
            st.name2,
            printInteger(st.player == 0 ? 0 : 1),
            printInteger(st.shortOpt == 0 ? 0 : 1),
            printInteger(st.voiceOpt == 0 ? 0 : 1),
            printInteger(st.area)};
}

std::vector<std::string> urlLines(const Settings& st) {
    return {st.url};
}

void writeSettings(const std::string& gameDataDir, const Settings& st) {
    // Encode both first, so that a text CP932 cannot hold leaves both files alone.
    const std::string names = encodeLines(nameDataLines(st), kNameFile);
    const std::string url = encodeLines(urlLines(st), kUrlFile);
    writeBytesAtomic(gameDataDir + kNameFile, names);
    writeBytesAtomic(gameDataDir + kUrlFile, url);
}

std::string acceptedText(const std::string& typed) {
    std::string out;
    size_t i = 0;
    while (i < typed.size()) {
        size_t len = 1;
        while (i + len < typed.size() && (static_cast<unsigned char>(typed[i + len]) & 0xC0) == 0x80) ++len;
        const std::string ch = typed.substr(i, len);
        if (ch != "\r" && ch != "\n" && representableInCp932(ch)) out += ch;
        i += len;
    }
    return out;
}

std::string acceptedName(const std::string& typed) {
    return firstChars(acceptedText(typed), kNameLimit);
}

bool namesGiven(const Settings& st) {
    return !st.name1.empty() && !st.name2.empty();
}

void データ設定(GameState& s, const Settings& st) {
    s.playerName[0] = st.name1 + "さん";
    s.playerName[1] = st.name2 + "さん";
    s.comOpponent = st.player == 1;
    s.shortMode = st.shortOpt == 0;
    s.voiceMode = st.voiceOpt == 0;
    s.webMapUrl = st.url;
    s.playArea = static_cast<Integer>(st.area >= 0 && st.area <= 8 ? st.area : 0);
}

void eraseMemories(const GameState& s) {
    for (int p = 0; p <= 1; ++p) writeBytesAtomic(historyPath(s, p), std::string());
}

std::string slotPath(const std::string& gameDataDir, int n) {
    return gameDataDir + "GameData" + std::to_string(n) + ".txt";
}

bool checkSlots(GameState& s, const std::string& gameDataDir) {
    bool any = false;
    for (int n = 1; n <= 3; ++n) {
        s.slotExists[n] = fileExists(slotPath(gameDataDir, n));
        any = any || s.slotExists[n];
    }
    return any;
}

void startWithSettings(GameState& s, const Settings& st, bool resume) {
    const Integer savedArea = s.playArea;
    データ設定(s, st);
    if (resume) s.playArea = savedArea;
    s.resumeGame = resume;
}

}  // namespace kisharin
