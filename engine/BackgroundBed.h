#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace msc {

// A quiet, endless sound laid under the speech: filtered noise, a few soft
// tones and a slow swell, one recipe per background number 1..11.
class BackgroundBed {
 public:
  static constexpr int kCount = 11;

  BackgroundBed(int number, int sampleRate);

  // Adds the next samples of the bed; with last set it fades out by the end.
  void mixInto(std::span<std::int16_t> samples, bool last);

 private:
  struct Oscillator {
    double cos = 1, sin = 0, stepCos = 1, stepSin = 0;
    double next();
  };

  double nextSample();
  static Oscillator oscillator(double hz, int sampleRate);

  double noiseLevel_;
  double noiseCoefficient_;
  double noiseGain_;
  double noiseState_ = 0;
  std::uint32_t random_ = 0x9E3779B9u;
  std::array<Oscillator, 3> tones_;
  double toneLevel_;
  Oscillator swell_;
  double swellDepth_;
  double fadeIn_ = 0;
  double fadeStep_;
  long position_ = 0;
};

}  // namespace msc
