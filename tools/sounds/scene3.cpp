// "scene3.ogg": the closing music, about 100 s. It starts when the
// asteroids show their jaws: a low pulse and a dark D minor swell, strange
// chords under glassy bells while the laugh sounds, then the ascent's tune
// returns, slower, in D major, and the piece comes to rest on a long open
// chord. When it ends the asteroid field's noise bed returns.
#include <cmath>
#include <vector>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double BEAT = 1.0;  // 60 BPM, seconds
constexpr double BAR = 4 * BEAT;
constexpr double TAIL = 9.0;

const std::vector<Sounds::Chord> CHORDS = {
    {"Dm", {50, 53, 57, 64}, 38, {62, 65, 69, 74, 76}},
    {"Bb", {50, 53, 58, 64}, 34, {58, 62, 65, 70, 76}},
    {"Gm", {50, 55, 58, 64}, 43, {55, 58, 62, 64, 67}},
    {"A", {49, 52, 57, 61}, 45, {57, 61, 64, 69, 73}},
    {"D", {50, 54, 57, 64}, 38, {62, 66, 69, 74, 76}},
    {"Bm", {50, 54, 59, 61}, 35, {59, 62, 66, 69, 73}},
    {"G", {47, 50, 54, 57, 61}, 43, {55, 59, 62, 66, 69}},
    {"D/F#", {50, 54, 57, 62}, 42, {62, 66, 69, 74, 78}},
    {"Em7", {50, 55, 59, 62}, 40, {55, 59, 62, 64, 67}},
    {"Asus", {50, 52, 57, 64}, 45, {57, 62, 64, 69, 71}},
};

std::vector<Sounds::Bar> form() {
    std::vector<Sounds::Bar> bars;
    auto add = [&bars](std::initializer_list<const char*> names, bool arp, bool bass) {
        for (auto n : names) bars.push_back({n, 0, arp, bass, false});
    };
    add({"Dm", "Dm", "Dm"}, false, false);                       // the swell
    add({"Bb", "Gm", "Bb", "A", "A"}, false, false);             // the jaws, the laugh
    add({"G", "D/F#", "Em7", "A", "Bm", "G", "D", "A"}, true, true);  // the tune returns
    add({"G", "D/F#", "Em7", "Asus"}, true, false);
    add({"D", "D", "D", "D", "D"}, false, false);                // at rest
    return bars;
}

// The ascent's tune, first eight bars, from bar 9; a motif rising in the swell.
const char* RISING = "D5:2 F5:2 A5:4 | E5:2 F5:2 A5:4 | D6:8";
const char* STRANGE = "r:2 F6:2 E6:4 | r:2 D6:2 C#6:4 | r:4 Bb5:4 | A5:8";
const char* TUNE =
    "B4:1.5 A4:.5 G4:1 D5:1 | A4:3 F#4:1 | G4:1.5 F#4:.5 E4:1 B4:1 | A4:4 | "
    "F#5:1.5 E5:.5 D5:1 B4:1 | D5:2 E5:1 D5:1 | A4:1.5 B4:.5 D5:1 F#5:1 | E5:4 | "
    "B4:2 A4:2 | A4:2 D5:2 | G5:2 F#5:1 E5:1 | E5:4 | F#5:8 | D5:12";

double brightness(double t) { return 0.5 + 0.6 * smoothstep(28, 50, float(t)) - 0.3 * smoothstep(80, 100, float(t)); }

Sound makeClosing() {
    const std::vector<Sounds::Bar> bars = form();
    const double length = bars.size() * BAR + TAIL;
    const std::size_t frames = std::size_t(length * Sounds::RATE);
    Sounds::Band band;
    band.resize(frames);
    Sounds::BandStyle style;
    style.beat = BEAT;
    style.voice.cutoff = 1000;
    style.voice.attack = 3.0;
    style.voice.release = 4.0;
    style.voice.brightness = brightness;
    style.padGain = 0.18f;
    style.tineGain = 0.08f;
    style.tineDecay = 1.6;
    Sounds::playBars(band, CHORDS, bars, style, 0xC105);

    // A slow heartbeat under the first eight bars: low D pulses.
    for (int beat = 0; beat < 32; beat += 2) {
        const float g = 0.16f + 0.1f * float(std::sin(PI * beat / 32.0));
        Sounds::bass(band.low, beat * BEAT, 0.35, 26 + 12, g);
    }
    Sounds::playTune(band.bells, RISING, 0, 0, 0.11f, 3.0, BEAT, 1);
    Sounds::playTune(band.bells, STRANGE, 12, 0, 0.1f, 3.5, BEAT, 2);
    Sounds::playTune(band.bells, TUNE, 8 * 4, 0, 0.15f, 2.6, BEAT, 3);
    band.resize(frames);

    Sound mix = Sounds::mixBand(band, BEAT, frames, 0.7f);
    // Quieter than the ascent: the laugh must carry over it.
    return Sounds::master(mix, 3.0, TAIL, -4.5f);
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeClosing(), out.path("sound/scene3.ogg"));
    });
}
