// Writes Lumitakt's alarm sound: a soft two-tone chime (E6, then C6, with a
// few bell-like overtones and a gentle decay), 16-bit mono PCM WAV.
//   makechime <output.wav>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kSeconds = 1.6;

struct Note {
    double start;     // seconds
    double frequency; // Hz
};

double bell(double t, double frequency)
{
    if (t < 0)
        return 0;
    const double attack = std::min(1.0, t / 0.005);
    // Overtones of a struck bar: the fundamental, a soft octave, a softer twelfth.
    const double partials[][2] = {{1.0, 1.0}, {2.0, 0.28}, {3.0, 0.08}};
    double v = 0;
    for (const auto &p : partials)
        v += p[1] * std::sin(2 * std::numbers::pi * frequency * p[0] * t) * std::exp(-t * (2.2 + p[0]));
    return attack * v;
}

void put16(std::FILE *f, std::uint16_t v)
{
    std::fputc(v & 0xFF, f);
    std::fputc(v >> 8, f);
}

void put32(std::FILE *f, std::uint32_t v)
{
    put16(f, static_cast<std::uint16_t>(v & 0xFFFF));
    put16(f, static_cast<std::uint16_t>(v >> 16));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makechime <output.wav>\n");
        return 2;
    }
    const Note notes[] = {{0.0, 1318.51}, {0.38, 1046.50}};
    const int count = static_cast<int>(kSeconds * kRate);
    std::vector<double> samples(static_cast<std::size_t>(count));
    double peak = 0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (const Note &n : notes)
            v += bell(t - n.start, n.frequency);
        // Fade the last 50 ms to silence so the sound never ends in a click.
        const double left = kSeconds - t;
        if (left < 0.05)
            v *= left / 0.05;
        samples[static_cast<std::size_t>(i)] = v;
        peak = std::max(peak, std::abs(v));
    }
    const double gain = 0.7 * 32767 / peak; // about -3 dB below full scale

    std::FILE *f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(count) * 2;
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);          // format chunk size
    put16(f, 1);           // PCM
    put16(f, 1);           // mono
    put32(f, kRate);       // sample rate
    put32(f, kRate * 2);   // bytes per second
    put16(f, 2);           // block align
    put16(f, 16);          // bits per sample
    std::fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    for (const double s : samples)
        put16(f, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s * gain))));
    const bool ok = std::fclose(f) == 0;
    return ok ? 0 : 1;
}
