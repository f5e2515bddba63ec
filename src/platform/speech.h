// A Japanese voice for the station announcements: Open JTalk turns a text into
// samples, PulseAudio plays them. Every failure (no engine, no voice file, no sound
// device) leaves the game silent and carries on; nothing is shown to the player.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kisharin {

// What the rules use to say something aloud: speak returns once the text has been
// spoken (or at once when it cannot be).
class Speech {
  public:
    virtual ~Speech() = default;
    virtual void speak(const std::string& text) = 0;
};

// Mono 16-bit samples.
struct Sound {
    int rate = 0;
    std::vector<std::int16_t> samples;
    double seconds() const { return rate > 0 ? static_cast<double>(samples.size()) / rate : 0; }
};

// Reads a PCM 16-bit WAV file (mono, or the first channel of several).
std::optional<Sound> readWav(const std::string& path);

// Where the engine finds its parts; empty members are looked up in the usual places.
struct VoiceFiles {
    std::string program;     // the open_jtalk program
    std::string dictionary;  // its MeCab dictionary folder
    std::string voice;       // the .htsvoice file
    int timeoutMs = 10000;   // an engine that takes longer is stopped and nothing is said
};
VoiceFiles findVoiceFiles();

// The sound device: opened once, played into synchronously.
class SoundOutput {
  public:
    virtual ~SoundOutput() = default;
    // Plays and waits until the samples have been heard; false when it cannot.
    virtual bool play(const Sound& sound) = 0;
};
// The system's sound server, or nullptr when there is none.
std::unique_ptr<SoundOutput> openSystemSoundOutput();
// What the game's voice plays into: the system's sound server unless replaced.
std::unique_ptr<SoundOutput> openSoundOutput();
// Replaces what openSoundOutput opens (tests count and record through it); an empty
// function restores the system's sound server.
void setSoundOutputOpener(std::function<std::unique_ptr<SoundOutput>()> open);

class JapaneseVoice final : public Speech {
  public:
    using OutputOpener = std::function<std::unique_ptr<SoundOutput>()>;

    // Looks for the engine and voice; the sound device is opened at the first text or by
    // prepare, and then kept open for every later text.
    JapaneseVoice();
    // With given files and output (tests); a null output stays silent.
    JapaneseVoice(VoiceFiles files, std::unique_ptr<SoundOutput> output);
    ~JapaneseVoice() override;

    // Gets ready to speak `texts` without holding the caller: opens the sound device and
    // turns the texts into samples in the background (with no texts, runs the engine
    // once on a short one, which brings its dictionary and voice into memory). The next
    // speak waits for it to finish; a text made ready is then played at once.
    void prepare(std::vector<std::string> texts = {});

    // True when the engine, its dictionary and the voice file were found.
    bool canSynthesise() const;
    // The text spoken, as samples; nullopt when the engine fails.
    std::optional<Sound> synthesise(const std::string& text) const;
    void speak(const std::string& text) override;

  private:
    void openOutput();
    void waitPrepared();

    VoiceFiles files_;
    OutputOpener open_;
    std::unique_ptr<SoundOutput> output_;
    bool outputTried_ = false;
    std::thread preparing_;
    std::map<std::string, Sound> ready_;  // texts made ready by prepare
};

// The voice of the whole program: one engine and one connection to the sound server for
// every arrival, so that an announcement does not wait for a new sound stream.
JapaneseVoice& programVoice();

}  // namespace kisharin
