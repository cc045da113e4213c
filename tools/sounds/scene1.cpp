// "scene1.ogg": music for the ascent, about three minutes. Out of the dark
// a pad on D rises; a kalimba-like arpeggio starts to climb, a bell melody
// and a round bass join, the key lifts a tone to E for the brightest part,
// and it thins out again to a long, quiet ending. The game fades it out
// over 15 s when the flight nears its top, so every part of it must also
// sound right while fading.
#include <cmath>
#include <string>
#include <vector>

#include "mediagen/Dsp.h"
#include "mediagen/Generator.h"
#include "sounds/SoundKit.h"

using namespace MediaGen;
using namespace MediaGen::Dsp;

namespace {

constexpr double BPM = 72;
constexpr double BEAT = 60.0 / BPM;  // seconds
constexpr double BAR = 4 * BEAT;
constexpr double TAIL = 9.0;  // seconds of ring-out after the last bar

const std::vector<Sounds::Chord> CHORDS = {
    {"D", {50, 54, 57, 64}, 38, {62, 66, 69, 74, 76}},
    {"Bm", {50, 54, 59, 61}, 35, {59, 62, 66, 69, 73}},
    {"G", {47, 50, 54, 57, 61}, 43, {55, 59, 62, 66, 69}},
    {"D/F#", {50, 54, 57, 62}, 42, {62, 66, 69, 74, 78}},
    {"Em7", {50, 55, 59, 62}, 40, {55, 59, 62, 64, 67}},
    {"A", {49, 52, 57, 64}, 45, {57, 61, 64, 69, 73}},
    {"Asus", {50, 52, 57, 64}, 45, {57, 62, 64, 69, 71}},
};

std::vector<Sounds::Bar> form() {
    std::vector<Sounds::Bar> bars;
    auto add = [&bars](std::initializer_list<const char*> names, int tr, bool arp, bool bass,
                       bool octave = false) {
        for (auto n : names) bars.push_back({n, tr, arp, bass, octave});
    };
    // Intro: out of the dark.
    add({"D", "D", "Bm", "Bm", "G", "G", "Asus", "A"}, 0, false, false);
    // A: the arpeggio starts to climb.
    add({"D", "Bm", "G", "Asus", "D", "Bm", "G", "A"}, 0, true, false);
    // B: melody and bass, twice round.
    add({"G", "D/F#", "Em7", "A", "Bm", "G", "D", "A", "G", "D/F#", "Em7", "A", "Bm", "G", "D", "A"},
        0, true, true);
    // C: a tone higher, the brightest stretch, the arpeggio doubled.
    add({"G", "D/F#", "Em7", "A", "Bm", "G", "D", "A", "G", "D/F#", "Em7", "Asus"}, 2, true, true,
        true);
    // Outro in E, thinning out.
    add({"D", "Bm", "G", "Asus"}, 2, true, true);
    add({"D", "D", "D", "D"}, 2, false, false);
    return bars;
}

// The bell melody of section B (in D), bar 17 on; section C repeats its
// first twelve bars a tone higher; the outro has a few falling notes.
const char* MELODY_B =
    "B4:1.5 A4:.5 G4:1 D5:1 | A4:3 F#4:1 | G4:1.5 F#4:.5 E4:1 B4:1 | A4:4 | "
    "F#5:1.5 E5:.5 D5:1 B4:1 | D5:2 E5:1 D5:1 | A4:1.5 B4:.5 D5:1 F#5:1 | E5:4 | "
    "B4:1.5 A4:.5 G4:1 D5:1 | A4:2 D5:1 F#5:1 | G5:1.5 F#5:.5 E5:1 D5:1 | C#5:2 E5:2 | "
    "D5:1.5 F#5:.5 B5:2 | A5:1 G5:1 F#5:1 E5:1 | F#5:3 E5:1 | E5:2 r:2";
const char* MELODY_C =
    "B4:1.5 A4:.5 G4:1 D5:1 | A4:3 F#4:1 | G4:1.5 F#4:.5 E4:1 B4:1 | A4:4 | "
    "F#5:1.5 E5:.5 D5:1 B4:1 | D5:2 E5:1 D5:1 | A4:1.5 B4:.5 D5:1 F#5:1 | E5:4 | "
    "B4:1.5 A4:.5 G4:1 D5:1 | A4:2 D5:1 F#5:1 | G5:1.5 F#5:.5 E5:1 D5:1 | E5:4";
const char* MELODY_OUTRO = "A5:4 | F#5:4 | D5:2 E5:2 | A4:4 | r:4 | D5:8";
const char* INTRO_BELLS = "r:8 A5:8 r:4 F#5:4 r:4 E5:4 D5:4 r:4";

// Brightness of the pads over the piece: dark start, open climax, dim end.
double brightness(double t) {
    struct Point {
        double t, b;
    };
    static const Point curve[] = {{0, 0.45},   {27, 0.7},   {53, 1.0},   {107, 1.25},
                                  {147, 1.7},  {160, 1.3},  {185, 0.6}};
    if (t <= curve[0].t) return curve[0].b;
    for (std::size_t i = 1; i < std::size(curve); ++i)
        if (t < curve[i].t) {
            const double x = (t - curve[i - 1].t) / (curve[i].t - curve[i - 1].t);
            return curve[i - 1].b + (curve[i].b - curve[i - 1].b) * (0.5 - 0.5 * std::cos(PI * x));
        }
    return curve[std::size(curve) - 1].b;
}

Sound makeAscent() {
    const std::vector<Sounds::Bar> bars = form();
    const double length = bars.size() * BAR + TAIL;
    const std::size_t frames = std::size_t(length * Sounds::RATE);
    Sounds::Band band;
    band.resize(frames);
    Sounds::BandStyle style;
    style.beat = BEAT;
    style.voice.cutoff = 1100;
    style.voice.attack = 2.2;
    style.voice.release = 3.5;
    style.voice.brightness = brightness;
    Sounds::playBars(band, CHORDS, bars, style, 0xA5CE);

    // Tunes: beat numbers count from the start of the piece.
    Sounds::playTune(band.bells, INTRO_BELLS, 0, 12, 0.1f, 2.5, BEAT, 1);
    Sounds::playTune(band.bells, MELODY_B, 16 * 4, 0, 0.16f, 2.2, BEAT, 2);
    Sounds::playTune(band.bells, MELODY_C, 32 * 4, 2, 0.16f, 2.2, BEAT, 3);
    Sounds::playTune(band.bells, MELODY_C, 32 * 4, 14, 0.05f, 1.6, BEAT, 4);  // glinting octave
    Sounds::playTune(band.bells, MELODY_OUTRO, 44 * 4, 2, 0.13f, 3.0, BEAT, 5);
    band.resize(frames);

    Sound mix = Sounds::mixBand(band, BEAT, frames);
    // Air: a breath of noise whose colour rises with the flight.
    for (int c = 0; c < 2; ++c) {
        PinkNoise pink(0xA17 + c);
        Svf filter;
        for (std::size_t i = 0; i < frames; ++i) {
            const double t = double(i) / Sounds::RATE;
            const double hz = 500 + 1400 * (brightness(t) - 0.45);
            mix.channel(c)[i] += 0.05f * filter.process(pink.next(), hz, 0.3, Sounds::RATE).band;
        }
    }
    return Sounds::master(mix, 1.5, TAIL, -3.0f);  // about -16 dBFS RMS
}

}  // namespace

int main(int argc, char** argv) {
    return runGenerator(argc, argv, [](Output& out) {
        Sounds::save(makeAscent(), out.path("sound/scene1.ogg"));
    });
}
