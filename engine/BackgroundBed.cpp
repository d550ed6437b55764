#include "BackgroundBed.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace msc {

namespace {

// Levels are 16-bit amplitudes: the beds sit some 20 dB below the speech.
struct Recipe {
  double noise;          // amplitude of the filtered noise
  double cutoffHz;       // its low-pass corner
  std::array<double, 3> tonesHz;  // 0 = no tone
  double tone;           // amplitude of each tone
  double swellHz;        // rate of the slow swell, 0 = steady
  double swellDepth;     // 0..1
};

constexpr std::array<Recipe, BackgroundBed::kCount> kRecipes{{
    {700, 3000, {0, 0, 0}, 0, 0, 0},                       // 1 rain
    {900, 400, {0, 0, 0}, 0, 0.1, 0.8},                     // 2 surf
    {800, 150, {0, 0, 0}, 0, 0.23, 0.5},                    // 3 wind
    {0, 0, {130.81, 196.00, 261.63}, 250, 0, 0},            // 4 open fifth drone
    {0, 0, {110.00, 130.81, 164.81}, 250, 0.2, 0.4},        // 5 minor pad
    {0, 0, {523.25, 659.25, 783.99}, 180, 1.5, 0.9},        // 6 bells
    {0, 0, {55, 110, 165}, 300, 0, 0},                      // 7 hum
    {0, 0, {880, 1318.5, 0}, 150, 0.5, 0.95},               // 8 chime
    {300, 800, {60, 120, 0}, 150, 0, 0},                    // 9 room tone
    {100, 6000, {3520, 0, 0}, 120, 7, 1.0},                 // 10 crickets
    {0, 0, {48, 96, 0}, 350, 1.1, 1.0},                     // 11 heartbeat
}};

constexpr double kFadeSeconds = 0.3;

}  // namespace

double BackgroundBed::Oscillator::next() {
  const double value = sin;
  const double c = cos * stepCos - sin * stepSin;
  sin = sin * stepCos + cos * stepSin;
  cos = c;
  return value;
}

BackgroundBed::Oscillator BackgroundBed::oscillator(double hz, int sampleRate) {
  const double step = 2 * std::numbers::pi * hz / sampleRate;
  return {1, 0, std::cos(step), std::sin(step)};
}

BackgroundBed::BackgroundBed(int number, int sampleRate) {
  const Recipe& r = kRecipes.at(static_cast<std::size_t>(std::clamp(number, 1, kCount) - 1));
  noiseLevel_ = r.noise;
  noiseCoefficient_ = r.cutoffHz > 0 ? 1 - std::exp(-2 * std::numbers::pi * r.cutoffHz / sampleRate) : 1;
  // A one-pole low-pass keeps a/(2-a) of white noise's power; this restores it.
  noiseGain_ = std::sqrt((2 - noiseCoefficient_) / noiseCoefficient_);
  for (std::size_t i = 0; i < tones_.size(); ++i)
    tones_[i] = r.tonesHz[i] > 0 ? oscillator(r.tonesHz[i], sampleRate) : Oscillator{0, 0, 1, 0};
  toneLevel_ = r.tone;
  swell_ = oscillator(r.swellHz, sampleRate);
  swellDepth_ = r.swellDepth;
  fadeStep_ = 1.0 / (kFadeSeconds * sampleRate);
}

double BackgroundBed::nextSample() {
  // xorshift32: cheap, and the same bed every time.
  random_ ^= random_ << 13;
  random_ ^= random_ >> 17;
  random_ ^= random_ << 5;
  const double white = static_cast<double>(random_) / 2147483648.0 - 1.0;
  noiseState_ += noiseCoefficient_ * (white - noiseState_);
  double value = noiseLevel_ * noiseGain_ * noiseState_;
  for (auto& tone : tones_) value += toneLevel_ * tone.next();
  // The swell starts at its quietest point and rises.
  const double swell = 1 - swellDepth_ * 0.5 * (1 + swell_.cos);
  swell_.next();
  if (++position_ % 4096 == 0) {
    // Keep the rotating oscillators on the unit circle.
    for (Oscillator* o : {&tones_[0], &tones_[1], &tones_[2], &swell_}) {
      const double norm = std::hypot(o->cos, o->sin);
      if (norm > 0) o->cos /= norm, o->sin /= norm;
    }
  }
  return value * swell;
}

void BackgroundBed::mixInto(std::span<std::int16_t> samples, bool last) {
  const std::size_t fadeOutLength =
      last ? std::min(samples.size(), static_cast<std::size_t>(1 / fadeStep_)) : 0;
  const std::size_t fadeOutStart = samples.size() - fadeOutLength;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    fadeIn_ = std::min(1.0, fadeIn_ + fadeStep_);
    double gain = fadeIn_;
    if (i >= fadeOutStart) gain *= static_cast<double>(samples.size() - i) / static_cast<double>(fadeOutLength);
    const double mixed = samples[i] + gain * nextSample();
    samples[i] = static_cast<std::int16_t>(std::clamp(std::lround(mixed), -32768L, 32767L));
  }
}

}  // namespace msc
