// The 36 voice codes: each speaks, the rows of the tables sound as they
// say (female above male, children and cartoons high), and no two alike.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/MscRun.h"

using namespace msctest;

namespace {

enum class Kind { Female, Male, Child, Cartoon };

struct Row {
  const char* code;
  Kind kind;
};

const Row kRows[] = {
    {"xiaoyan", Kind::Female},   {"xiaoqi", Kind::Female},    {"aisxping", Kind::Female},
    {"aisjinger", Kind::Female}, {"yefang", Kind::Female},    {"aisxmeng", Kind::Female},
    {"aismengchun", Kind::Female}, {"ziqi", Kind::Female},    {"jiajia", Kind::Female},
    {"aisxa", Kind::Female},     {"aisjying", Kind::Female},  {"aisxchun", Kind::Male},
    {"vixf", Kind::Male},        {"aisjiuxu", Kind::Male},    {"aisduoxu", Kind::Male},
    {"xiaoyu", Kind::Male},      {"niyang", Kind::Male},      {"vils", Kind::Male},
    {"aisbabyxu", Kind::Child},  {"vinn", Kind::Child},       {"aisxxin", Kind::Cartoon},
    {"xiaowanzi", Kind::Cartoon}, {"aisduck", Kind::Cartoon},
    {"Catherine", Kind::Female}, {"vimary", Kind::Female},    {"henry", Kind::Male},
    {"aisjohn", Kind::Male},     {"aisTom", Kind::Male},
    {"vixm", Kind::Female},      {"vixl", Kind::Female},      {"vixr", Kind::Female},
    {"vixyun", Kind::Female},    {"vixying", Kind::Female},   {"vixk", Kind::Male},
    {"vixqa", Kind::Male},       {"aisdalong", Kind::Male},
};

struct Voice {
  std::string code;
  Kind kind;
  double seconds, pitch, loudness;
  std::vector<double> spectrum;
};

// Mean distance in dB between two spectrum shapes.
double spectrumDistance(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(a[i] - b[i]);
  return sum / static_cast<double>(a.size());
}

// The same setting twice stays well below this (see SameSettingTwiceHasTheSameSpectrum).
constexpr double kSameSpectrumDb = 1.0;

class VoicesTest : public EngineTest {
 protected:
  std::vector<Voice> measureAll() {
    std::vector<Voice> voices;
    for (const Row& row : kRows) {
      const Synthesis s = synthesize(params({{"vcn", row.code}}), "今天天气很好，我们一起去公园散步。Good morning.");
      EXPECT_TRUE(s.complete()) << row.code;
      voices.push_back({row.code, row.kind, seconds(s.pcm), medianPitchHz(s.pcm), rms(s.pcm), spectrumDb(s.pcm)});
      std::printf("%-12s %5.2f s %6.1f Hz rms %5.0f\n", row.code, voices.back().seconds, voices.back().pitch,
                  voices.back().loudness);
    }
    return voices;
  }
};

TEST_F(VoicesTest, RowsSoundAsTheTablesSayAndNoTwoAlike) {
  const std::vector<Voice> voices = measureAll();
  double highestMale = 0, lowestFemale = 1e9;
  for (const Voice& v : voices) {
    SCOPED_TRACE(v.code);
    EXPECT_GT(v.seconds, 1.5);
    EXPECT_GT(v.loudness, 1500);
    EXPECT_LT(v.loudness, 9000);
    if (v.kind == Kind::Male) highestMale = std::max(highestMale, v.pitch);
    if (v.kind == Kind::Female) lowestFemale = std::min(lowestFemale, v.pitch);
  }
  EXPECT_GT(lowestFemale, highestMale * 1.2);
  for (const Voice& v : voices) {
    if (v.kind == Kind::Child || v.kind == Kind::Cartoon) {
      EXPECT_GT(v.pitch, highestMale * 1.3) << v.code;
    }
  }

  // Two codes on one voice setting would agree in length, pitch and the shape of their spectrum.
  double closest = 1e9;
  for (std::size_t i = 0; i < voices.size(); ++i)
    for (std::size_t j = i + 1; j < voices.size(); ++j) {
      const Voice &a = voices[i], &b = voices[j];
      const bool sameLength = std::abs(a.seconds - b.seconds) < 0.02 * a.seconds;
      const bool samePitch = std::abs(a.pitch - b.pitch) < 0.04 * a.pitch;
      const double distance = spectrumDistance(a.spectrum, b.spectrum);
      if (sameLength && samePitch) {
        std::printf("%s and %s: spectra %.2f dB apart\n", a.code.c_str(), b.code.c_str(), distance);
        closest = std::min(closest, distance);
      }
      EXPECT_FALSE(sameLength && samePitch && distance < kSameSpectrumDb) << a.code << " and " << b.code;
    }
  std::printf("closest spectra of voices alike in length and pitch: %.2f dB\n", closest);
}

TEST_F(VoicesTest, SameSettingTwiceHasTheSameSpectrum) {
  const std::string text = "今天天气很好，我们一起去公园散步。Good morning.";
  const Pcm a = synthesize(params({{"vcn", "xiaoyan"}}), text).pcm;
  const Pcm b = synthesize(params({{"vcn", "xiaoyan"}}), text).pcm;
  EXPECT_LT(spectrumDistance(spectrumDb(a), spectrumDb(b)), kSameSpectrumDb / 2);
}

}  // namespace
