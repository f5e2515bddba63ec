// The arrival's first sentence: from the moment the train stops to the moment its first
// sample is handed to the sound server. A voice made at the arrival (a new stream to the
// server, the sentence made then) against the program's voice made ready while the
// train ran.
// Needs a sound server (PULSE_SERVER) and Open JTalk; skipped without them.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include "platform/speech.h"

using namespace kisharin;
using Clock = std::chrono::steady_clock;

namespace {

// The real sound output, noting when the first samples are handed over.
class TimedOutput final : public SoundOutput {
  public:
    TimedOutput(std::unique_ptr<SoundOutput> real, Clock::time_point* first)
        : real_(std::move(real)), first_(first) {}
    bool play(const Sound& sound) override {
        if (*first_ == Clock::time_point{}) *first_ = Clock::now();
        return real_->play(sound);
    }

  private:
    std::unique_ptr<SoundOutput> real_;
    Clock::time_point* first_;
};

Clock::time_point firstSample;

bool ready(benchmark::State& state) {
    if (!JapaneseVoice(findVoiceFiles(), nullptr).canSynthesise()) {
        state.SkipWithError("Open JTalk or its voice is not installed");
        return false;
    }
    if (!openSystemSoundOutput()) {
        state.SkipWithError("no sound server (set PULSE_SERVER)");
        return false;
    }
    setSoundOutputOpener([] {
        auto real = openSystemSoundOutput();
        return real ? std::make_unique<TimedOutput>(std::move(real), &firstSample) : nullptr;
    });
    return true;
}

// The sentence of a station's name, as at an arrival.
const char* const kSentence = "しんおおさかです";

// As the ride did before: a new voice, and so a new stream, at every arrival.
void BM_ArrivalWithANewStream(benchmark::State& state) {
    if (!ready(state)) return;
    for (auto _ : state) {
        firstSample = {};
        const auto stop = Clock::now();
        JapaneseVoice voice;
        voice.speak(kSentence);
        state.SetIterationTime(std::chrono::duration<double>(firstSample - stop).count());
    }
    setSoundOutputOpener({});
}
BENCHMARK(BM_ArrivalWithANewStream)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The program's voice: prepared when the ride opens with the arrival's sentence (the
// train then runs for a few seconds), its stream kept from one arrival to the next.
void BM_ArrivalWithThePreparedVoice(benchmark::State& state) {
    if (!ready(state)) return;
    JapaneseVoice voice;
    for (auto _ : state) {
        voice.prepare({kSentence});
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::seconds(2));  // the ride
        state.ResumeTiming();
        firstSample = {};
        const auto stop = Clock::now();
        voice.speak(kSentence);
        state.SetIterationTime(std::chrono::duration<double>(firstSample - stop).count());
    }
    setSoundOutputOpener({});
}
BENCHMARK(BM_ArrivalWithThePreparedVoice)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
