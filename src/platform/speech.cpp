#include "platform/speech.h"

#include "platform/data_home.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#ifdef KISHARIN_HAVE_PULSE
#include <pulse/error.h>
#include <pulse/simple.h>
#endif

extern char** environ;

namespace kisharin {

namespace fs = std::filesystem;

namespace {

std::uint32_t le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t le16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

std::string firstExisting(std::initializer_list<std::string> candidates, bool folder) {
    std::error_code ec;
    for (const std::string& c : candidates)
        if (!c.empty() && (folder ? fs::is_directory(c, ec) : fs::is_regular_file(c, ec))) return c;
    return {};
}

std::string findProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t from = 0;
    while (from <= dirs.size()) {
        const size_t to = std::min(dirs.find(':', from), dirs.size());
        const std::string candidate = dirs.substr(from, to - from) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        from = to + 1;
    }
    return {};
}

// A temporary file that is removed when it goes out of scope.
struct TempFile {
    std::string path;
    explicit TempFile(const char* suffix) {
        std::string pattern = (fs::temp_directory_path() / "kisharin-voice-XXXXXX").string() + suffix;
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        const int fd = ::mkstemps(buf.data(), static_cast<int>(std::strlen(suffix)));
        if (fd >= 0) {
            ::close(fd);
            path = buf.data();
        }
    }
    ~TempFile() {
        if (!path.empty()) ::unlink(path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
};

// Runs a program with its output thrown away; true when it ended with status 0.
bool run(const std::vector<std::string>& args, int timeoutMs) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return false;
    // A sentence takes the engine a fraction of a second; one that hangs is stopped so
    // that the ride can close.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) return false;
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

#ifdef KISHARIN_HAVE_PULSE
class PulseOutput final : public SoundOutput {
  public:
    explicit PulseOutput(int rate) : rate_(rate) {}
    ~PulseOutput() override { close(); }
    bool open() {
        pa_sample_spec spec{};
        spec.format = PA_SAMPLE_S16LE;
        spec.rate = static_cast<std::uint32_t>(rate_);
        spec.channels = 1;
        // A short buffer: the sentence starts playing at once and drain returns soon
        // after its last sample was heard.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = static_cast<std::uint32_t>(pa_usec_to_bytes(100 * 1000, &spec));
        attr.prebuf = static_cast<std::uint32_t>(-1);
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        int error = 0;
        pa_ = pa_simple_new(nullptr, "キシャリン", PA_STREAM_PLAYBACK, nullptr, "駅のアナウンス", &spec,
                            nullptr, &attr, &error);
        return pa_ != nullptr;
    }
    bool play(const Sound& sound) override {
        if (!pa_ || sound.rate != rate_ || sound.samples.empty()) return false;
        int error = 0;
        if (pa_simple_write(pa_, sound.samples.data(), sound.samples.size() * sizeof(std::int16_t), &error) <
            0)
            return false;
        return pa_simple_drain(pa_, &error) >= 0;
    }

  private:
    void close() {
        if (pa_) pa_simple_free(pa_);
        pa_ = nullptr;
    }
    int rate_;
    pa_simple* pa_ = nullptr;
};
#endif

constexpr int kVoiceRate = 48000;  // the rate the voice was made for

// The engine pads every sentence with silence (about a third of a second before and
// more after); the announcements keep only a short breath on either side.
void trimSilence(Sound& sound) {
    constexpr int kQuiet = 200;
    const size_t margin = static_cast<size_t>(sound.rate) * 60 / 1000;
    auto loud = [](std::int16_t v) { return v > kQuiet || v < -kQuiet; };
    const auto first = std::find_if(sound.samples.begin(), sound.samples.end(), loud);
    if (first == sound.samples.end()) return;  // all quiet: leave it as it is
    const auto last = std::find_if(sound.samples.rbegin(), sound.samples.rend(), loud).base();
    const size_t from = static_cast<size_t>(first - sound.samples.begin());
    const size_t to = static_cast<size_t>(last - sound.samples.begin());
    const size_t begin = from > margin ? from - margin : 0;
    const size_t end = std::min(sound.samples.size(), to + margin);
    sound.samples = std::vector<std::int16_t>(sound.samples.begin() + static_cast<long>(begin),
                                              sound.samples.begin() + static_cast<long>(end));
}

}  // namespace

std::optional<Sound> readWav(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return std::nullopt;
    int channels = 0, bits = 0, format = 0;
    Sound sound;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::uint32_t size = le32(b.data() + at + 4);
        const size_t body = at + 8;
        const size_t have = std::min<size_t>(size, b.size() - body);
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && have >= 16) {
            format = le16(b.data() + body);
            channels = le16(b.data() + body + 2);
            sound.rate = static_cast<int>(le32(b.data() + body + 4));
            bits = le16(b.data() + body + 14);
        } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
            if (format != 1 || bits != 16 || channels < 1 || sound.rate <= 0) return std::nullopt;
            const size_t frame = 2 * static_cast<size_t>(channels);
            for (size_t i = body; i + frame <= body + have; i += frame)
                sound.samples.push_back(static_cast<std::int16_t>(le16(b.data() + i)));
            return sound;
        }
        at = body + size + (size & 1);
    }
    return std::nullopt;
}

VoiceFiles findVoiceFiles() {
    VoiceFiles f;
    f.program = findProgram("open_jtalk");
    f.dictionary = firstExisting({"/var/lib/mecab/dic/open-jtalk/naist-jdic", "/usr/share/open_jtalk/dic",
                                  "/usr/local/share/open_jtalk/dic"},
                                 true);
    const std::string installedVoice = shippedDataDir() + "voice/nitech_jp_atr503_m001.htsvoice";
    f.voice = firstExisting(
        {
            installedVoice,
#ifdef KISHARIN_VOICE_FILE
            KISHARIN_VOICE_FILE,
#endif
            "/usr/share/hts-voice/nitech-jp-atr503-m001/nitech_jp_atr503_m001.htsvoice"},
        false);
    return f;
}

namespace {
std::function<std::unique_ptr<SoundOutput>()>& outputOpener() {
    static std::function<std::unique_ptr<SoundOutput>()> open;
    return open;
}
}  // namespace

void setSoundOutputOpener(std::function<std::unique_ptr<SoundOutput>()> open) {
    outputOpener() = std::move(open);
}

std::unique_ptr<SoundOutput> openSoundOutput() {
    return outputOpener() ? outputOpener()() : openSystemSoundOutput();
}

std::unique_ptr<SoundOutput> openSystemSoundOutput() {
#ifdef KISHARIN_HAVE_PULSE
    auto out = std::make_unique<PulseOutput>(kVoiceRate);
    if (out->open()) return out;
#endif
    return nullptr;
}

JapaneseVoice::JapaneseVoice() : files_(findVoiceFiles()), open_(openSoundOutput) {}

JapaneseVoice::JapaneseVoice(VoiceFiles files, std::unique_ptr<SoundOutput> output)
    : files_(std::move(files)), output_(std::move(output)), outputTried_(true) {}

JapaneseVoice::~JapaneseVoice() {
    waitPrepared();
}

void JapaneseVoice::openOutput() {
    if (outputTried_) return;
    outputTried_ = true;
    if (open_) output_ = open_();
}

void JapaneseVoice::waitPrepared() {
    if (preparing_.joinable()) preparing_.join();
}

void JapaneseVoice::prepare(std::vector<std::string> texts) {
    waitPrepared();
    ready_.clear();
    // A device that could not be had or was lost is looked for again at the next ride.
    if (!output_) outputTried_ = false;
    preparing_ = std::thread([this, texts = std::move(texts)] {
        openOutput();
        // Without a device nothing will be said: the engine need not run either.
        if (!output_) return;
        if (texts.empty()) synthesise("え");
        for (const std::string& text : texts)
            if (std::optional<Sound> sound = synthesise(text)) ready_[text] = std::move(*sound);
    });
}

bool JapaneseVoice::canSynthesise() const {
    std::error_code ec;
    return ::access(files_.program.c_str(), X_OK) == 0 && fs::is_directory(files_.dictionary, ec) &&
           isFile(files_.voice);
}

std::optional<Sound> JapaneseVoice::synthesise(const std::string& text) const {
    if (text.empty() || !canSynthesise()) return std::nullopt;
    TempFile input(".txt"), output(".wav");
    if (input.path.empty() || output.path.empty()) return std::nullopt;
    {
        std::ofstream t(input.path, std::ios::binary);
        t << text << '\n';
        if (!t) return std::nullopt;
    }
    if (!run({files_.program, "-x", files_.dictionary, "-m", files_.voice, "-s", std::to_string(kVoiceRate),
              "-ow", output.path, input.path},
             files_.timeoutMs))
        return std::nullopt;
    std::optional<Sound> sound = readWav(output.path);
    if (!sound || sound->samples.empty()) return std::nullopt;
    trimSilence(*sound);
    return sound;
}

void JapaneseVoice::speak(const std::string& text) {
    waitPrepared();
    openOutput();
    // Without a device there is nobody to hear it: do not spend time on the voice.
    if (!output_) {
        ready_.clear();
        return;
    }
    std::optional<Sound> sound;
    if (const auto made = ready_.find(text); made != ready_.end()) {
        sound = std::move(made->second);
        ready_.erase(made);
    } else {
        sound = synthesise(text);
    }
    if (sound && !output_->play(*sound)) output_.reset();  // the server went away
}

JapaneseVoice& programVoice() {
    static JapaneseVoice voice;
    return voice;
}

}  // namespace kisharin
