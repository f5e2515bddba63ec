// The announcement voice: samples from Open JTalk, WAV reading, and silence when the
// engine or the sound device is missing.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>

#include "platform/speech.h"
#include "support/fakes.h"

namespace kisharin {
namespace {

class RecordingOutput final : public SoundOutput {
  public:
    std::vector<Sound>* played;
    explicit RecordingOutput(std::vector<Sound>* p) : played(p) {}
    bool play(const Sound& sound) override {
        played->push_back(sound);
        return true;
    }
};

double rms(const Sound& s) {
    double sum = 0;
    for (std::int16_t v : s.samples) sum += static_cast<double>(v) * v;
    return s.samples.empty() ? 0 : std::sqrt(sum / static_cast<double>(s.samples.size()));
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string le(std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return s;
}

std::string wav(int channels, int bits, const std::vector<std::int16_t>& frames, bool withList = false) {
    std::string data;
    for (std::int16_t v : frames) data += le(static_cast<std::uint16_t>(v), 2);
    std::string fmt = "fmt " + le(16, 4) + le(1, 2) + le(static_cast<std::uint32_t>(channels), 2) +
                      le(16000, 4) + le(static_cast<std::uint32_t>(16000 * channels * bits / 8), 4) +
                      le(static_cast<std::uint32_t>(channels * bits / 8), 2) +
                      le(static_cast<std::uint32_t>(bits), 2);
    std::string body = "WAVE" + fmt;
    if (withList) body += "LIST" + le(3, 4) + "abc" + std::string(1, '\0');  // odd chunk, padded
    body += "data" + le(static_cast<std::uint32_t>(data.size()), 4) + data;
    return "RIFF" + le(static_cast<std::uint32_t>(body.size()), 4) + body;
}

TEST(Wav, ReadsMonoAndTheFirstChannelOfStereoPastOtherChunks) {
    testing::ScratchDir dir;
    const std::string mono = dir.path() + "/mono.wav";
    writeBytes(mono, wav(1, 16, {0, 1000, -1000, 32767}, true));
    const std::optional<Sound> a = readWav(mono);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->rate, 16000);
    EXPECT_EQ(a->samples, (std::vector<std::int16_t>{0, 1000, -1000, 32767}));

    const std::string stereo = dir.path() + "/stereo.wav";
    writeBytes(stereo, wav(2, 16, {5, 6, -7, 8}));
    const std::optional<Sound> b = readWav(stereo);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->samples, (std::vector<std::int16_t>{5, -7}));
}

TEST(Wav, RefusesWhatIsNotSixteenBitPcm) {
    testing::ScratchDir dir;
    const std::string eight = dir.path() + "/eight.wav";
    writeBytes(eight, wav(1, 8, {1, 2}));
    EXPECT_FALSE(readWav(eight));
    const std::string text = dir.path() + "/text.wav";
    writeBytes(text, "RIFF but not a wave at all");
    EXPECT_FALSE(readWav(text));
    EXPECT_FALSE(readWav(dir.path() + "/missing.wav"));
}

TEST(Voice, WithoutEngineOrVoiceFileItStaysSilentAndReturns) {
    std::vector<Sound> played;
    VoiceFiles none{"/nonexistent/open_jtalk", "/nonexistent/dic", "/nonexistent/voice.htsvoice"};
    JapaneseVoice voice(none, std::make_unique<RecordingOutput>(&played));
    EXPECT_FALSE(voice.canSynthesise());
    EXPECT_FALSE(voice.synthesise("しながわです"));
    voice.speak("しながわです");
    EXPECT_TRUE(played.empty());

    // A voice file that is not a voice: the engine fails, nothing is played.
    VoiceFiles found = findVoiceFiles();
    testing::ScratchDir dir;
    found.voice = dir.path() + "/broken.htsvoice";
    writeBytes(found.voice, "not a voice");
    JapaneseVoice broken(found, std::make_unique<RecordingOutput>(&played));
    broken.speak("しながわです");
    EXPECT_TRUE(played.empty());

    // No sound device: speaking returns at once.
    JapaneseVoice deaf(findVoiceFiles(), nullptr);
    deaf.speak("しながわです");
}

TEST(Voice, AnEngineThatHangsIsStoppedAndNothingIsSaid) {
    testing::ScratchDir dir;
    VoiceFiles files = findVoiceFiles();
    files.program = dir.path() + "hang.sh";
    writeBytes(files.program, "#!/bin/sh\nexec sleep 30\n");
    ::chmod(files.program.c_str(), 0755);
    files.dictionary = dir.path();
    files.voice = files.program;  // any file: the engine never gets to read it
    files.timeoutMs = 200;
    JapaneseVoice voice(files, nullptr);
    ASSERT_TRUE(voice.canSynthesise());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(voice.synthesise("しながわです"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(Voice, AnAnnouncementIsSpokenAsSound) {
    const VoiceFiles files = findVoiceFiles();
    JapaneseVoice voice(files, nullptr);
    if (!voice.canSynthesise())
        GTEST_SKIP() << "Open JTalk or its voice is not installed (scripts/install-deps.sh)";

    const std::optional<Sound> short_ = voice.synthesise("しながわです");
    ASSERT_TRUE(short_);
    EXPECT_EQ(short_->rate, 48000);
    // "shinagawa desu" takes about a second, not a click and not half a minute.
    EXPECT_GT(short_->seconds(), 0.4);
    EXPECT_LT(short_->seconds(), 4.0);
    EXPECT_GT(rms(*short_), 300.0);  // a voice, not silence
    int peak = 0;
    for (std::int16_t v : short_->samples) peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_GT(peak, 3000);

    // The engine's padding silence is cut: the voice starts and ends within a short breath.
    const size_t breath = static_cast<size_t>(short_->rate) / 10;
    auto loud = [](std::int16_t v) { return std::abs(static_cast<int>(v)) > 200; };
    const size_t first = static_cast<size_t>(
        std::find_if(short_->samples.begin(), short_->samples.end(), loud) - short_->samples.begin());
    const size_t tail = static_cast<size_t>(
        std::find_if(short_->samples.rbegin(), short_->samples.rend(), loud) - short_->samples.rbegin());
    EXPECT_LT(first, breath);
    EXPECT_LT(tail, breath);

    // Kanji are read as Japanese: a longer sentence takes longer.
    const std::optional<Sound> long_ = voice.synthesise("各線お乗り換えです。");
    ASSERT_TRUE(long_);
    EXPECT_GT(long_->seconds(), short_->seconds());

    std::vector<Sound> played;
    JapaneseVoice speaking(files, std::make_unique<RecordingOutput>(&played));
    speaking.speak("とうきょうです");
    ASSERT_EQ(played.size(), 1u);
    EXPECT_GT(rms(played[0]), 300.0);
}

}  // namespace
}  // namespace kisharin
