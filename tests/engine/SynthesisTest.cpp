// What the audio of one session looks like: pieces and statuses, rate,
// speed, loudness, text encodings, SSML, number reading, background beds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "support/MscRun.h"

using namespace msctest;

namespace {

class SynthesisTest : public EngineTest {};

const std::string kChinese = "今天天气很好，我们一起去公园散步。";

TEST_F(SynthesisTest, PiecesAreAtMostHalfASecondAndOnlyTheLastSaysDone) {
  const Synthesis s = synthesize(params(), kChinese + kChinese);
  ASSERT_TRUE(s.complete()) << s.getError;
  ASSERT_GE(s.pieceStatuses.size(), 3u);
  EXPECT_LE(s.largestPiece, 16000u);  // 0.5 s of 16-bit samples at 16000 Hz
  EXPECT_TRUE(std::all_of(s.pieceStatuses.begin(), s.pieceStatuses.end() - 1, [](int st) { return st == 1; }));
  EXPECT_EQ(s.pieceStatuses.back(), 2);
  EXPECT_GT(rms(s.pcm), 1000);
}

TEST_F(SynthesisTest, AudioGrowsWithTheText) {
  double previous = 0;
  std::string text;
  for (int sentences = 1; sentences <= 3; ++sentences) {
    text += kChinese;
    const Synthesis s = synthesize(params(), text);
    ASSERT_TRUE(s.complete());
    EXPECT_GT(seconds(s.pcm), previous * 1.5) << sentences;
    previous = seconds(s.pcm);
  }
}

TEST_F(SynthesisTest, EightKilohertzGivesHalfTheBytes) {
  for (const char* voice : {"xiaoyan", "henry", "vixm"}) {
    SCOPED_TRACE(voice);
    const Synthesis wide = synthesize(params({{"vcn", voice}}), kChinese + "Hello.");
    const Synthesis narrow = synthesize(params({{"vcn", voice}, {"auf", "audio/L16;rate=8000"}}), kChinese + "Hello.");
    ASSERT_TRUE(wide.complete());
    ASSERT_TRUE(narrow.complete());
    const double ratio = static_cast<double>(narrow.pcm.size()) / static_cast<double>(wide.pcm.size());
    EXPECT_NEAR(ratio, 0.5, 0.02);
    EXPECT_LE(narrow.largestPiece, 8000u);
  }
}

TEST_F(SynthesisTest, SpeedsShortenAndVolumesLoudenStepByStep) {
  const std::array<const char*, 5> speeds{"x-slow", "slow", "medium", "fast", "x-fast"};
  const std::array<const char*, 5> volumes{"x-soft", "soft", "medium", "loud", "x-loud"};
  for (const char* voice : {"xiaoyan", "aisTom", "aisduck"}) {
    SCOPED_TRACE(voice);
    double longer = 1e9, quieter = 0;
    for (std::size_t i = 0; i < 5; ++i) {
      SCOPED_TRACE(speeds[i]);
      const Synthesis s = synthesize(params({{"vcn", voice}, {"spd", speeds[i]}}), kChinese);
      const Synthesis v = synthesize(params({{"vcn", voice}, {"vol", volumes[i]}}), kChinese);
      ASSERT_TRUE(s.complete());
      ASSERT_TRUE(v.complete());
      EXPECT_LT(seconds(s.pcm), longer * 0.92);
      EXPECT_GT(rms(v.pcm), quieter * 1.1);
      longer = seconds(s.pcm);
      quieter = rms(v.pcm);
    }
  }
}

TEST_F(SynthesisTest, SameTextInEveryEncodingGivesTheSameAudio) {
  const std::string simplified = "今天天气很好，你好世界。";
  const std::string traditional = "今天天氣很好，你好世界。";
  const Synthesis reference = synthesize(params(), simplified);
  const Synthesis traditionalReference = synthesize(params(), traditional);
  ASSERT_TRUE(reference.complete());
  struct Row {
    const char* tte;
    std::string bytes;
    const Synthesis& expected;
  };
  const Row rows[] = {
      {"GBK", encode(simplified, "GBK"), reference},
      {"GB2312", encode(simplified, "GB2312"), reference},
      {"GB18030", encode(simplified, "GB18030"), reference},
      {"UNICODE", encode(simplified, "UTF-16LE"), reference},
      {"UNICODE", "\xFF\xFE" + encode(simplified, "UTF-16LE"), reference},  // with a byte order mark
      {"AUTO", simplified, reference},
      {"AUTO", encode(simplified, "GBK"), reference},
      {"UTF8", "\xEF\xBB\xBF" + simplified, reference},
      {"BIG5", encode(traditional, "BIG5"), traditionalReference},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.tte) + " " + std::to_string(row.bytes.size()) + " bytes");
    ASSERT_FALSE(row.bytes.empty());
    const Synthesis s = synthesize(params({{"tte", row.tte}}), row.bytes);
    ASSERT_TRUE(s.complete()) << s.putError;
    // espeak-ng's voices carry a little state from one text to the next, so equal means nearly equal.
    EXPECT_NEAR(seconds(s.pcm), seconds(row.expected.pcm), 0.01 * seconds(row.expected.pcm));
    EXPECT_GT(envelopeCorrelation(s.pcm, row.expected.pcm), 0.95);
  }
  // The comparison tells texts apart.
  const Synthesis other = synthesize(params(), "明天下雨，我们待在家里。");
  EXPECT_LT(envelopeCorrelation(other.pcm, reference.pcm), 0.8);
}

TEST_F(SynthesisTest, BytesInvalidInTheirEncodingAreRefused) {
  struct Row {
    const char* tte;
    std::string bytes;
  };
  const Row rows[] = {
      {"UTF8", encode("你好", "GBK")},
      {"UTF8", "\xC0\xAF"},          // overlong "/"
      {"UTF8", "\xED\xA0\x80"},      // a surrogate
      {"UNICODE", "\x60\x4F\x7D"},   // odd length
      {"UNICODE", std::string("\x00\xD8\x41\x00", 4)},  // an unpaired surrogate
      {"GBK", "\xC4\xE3\xBA"},       // cut inside a character
      {"BIG5", "\xFF\xFF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.tte);
    EXPECT_EQ(synthesize(params({{"tte", row.tte}}), row.bytes).putError, MSC_ERROR_TEXT_ENCODING);
  }
}

TEST_F(SynthesisTest, SsmlBreakAddsASecond) {
  const Synthesis plain = synthesize(params({{"ttp", "ssml"}}), "<speak>今天天气很好。明天下雨。</speak>");
  const Synthesis paused =
      synthesize(params({{"ttp", "ssml"}}), "<speak>今天天气很好。<break time=\"1s\"/>明天下雨。</speak>");
  ASSERT_TRUE(plain.complete());
  ASSERT_TRUE(paused.complete());
  EXPECT_NEAR(seconds(paused.pcm) - seconds(plain.pcm), 1.0, 0.3);
  // As plain text the markup is not obeyed.
  const Synthesis asText = synthesize(params(), "<speak>今天天气很好。<break time=\"1s\"/>明天下雨。</speak>");
  EXPECT_FALSE(std::abs(seconds(asText.pcm) - seconds(paused.pcm)) < 0.05);
}

TEST_F(SynthesisTest, NumberReadingSpellsDigitsOneByOne) {
  for (const char* voice : {"xiaoyan", "henry"}) {
    SCOPED_TRACE(voice);
    auto length = [&](const char* rdn, const char* text) {
      const Synthesis s = synthesize(params({{"vcn", voice}, {"rdn", rdn}}), text);
      EXPECT_TRUE(s.complete());
      return seconds(s.pcm);
    };
    // A million is three syllables as a number and seven digits spelled.
    EXPECT_GT(length("2", "1000000"), length("1", "1000000") * 1.3);
    // 1234567 is thirteen syllables as a number and still seven digits spelled.
    EXPECT_LT(length("2", "1234567"), length("1", "1234567") * 0.85);
    // 3: only long runs and those with a leading zero are spelled.
    EXPECT_NEAR(length("3", "1000"), length("1", "1000"), 0.05);
    EXPECT_NEAR(length("3", "1000000"), length("2", "1000000"), 0.1);
    EXPECT_NEAR(length("3", "007"), length("2", "007"), 0.1);
  }
}

double difference(const Pcm& a, const Pcm& b) {
  Pcm d(std::min(a.size(), b.size()));
  for (std::size_t i = 0; i < d.size(); ++i) d[i] = static_cast<std::int16_t>(a[i] - b[i]);
  return rms(d);
}

TEST_F(SynthesisTest, BackgroundBedsAreQuietDistinctAndRepeatable) {
  // The break gives espeak-ng's silence, so what is heard there is the bed alone.
  const std::string text = "<speak>好<break time=\"3s\"/>好</speak>";
  auto pause = [&](int bgs) {
    const Synthesis s = synthesize(params({{"ttp", "ssml"}, {"bgs", std::to_string(bgs)}}), text);
    EXPECT_TRUE(s.complete());
    EXPECT_GT(s.pcm.size(), 40000u);
    return Pcm(s.pcm.begin() + 16000, s.pcm.begin() + std::min<std::size_t>(s.pcm.size(), 40000));
  };
  EXPECT_LT(rms(pause(0)), 5);
  std::vector<Pcm> beds;
  for (int bgs = 1; bgs <= 11; ++bgs) {
    SCOPED_TRACE(bgs);
    beds.push_back(pause(bgs));
    EXPECT_GT(rms(beds.back()), 50);
    EXPECT_LT(rms(beds.back()), 1000);  // speech is some 3000 and more
    for (int earlier = 1; earlier < bgs; ++earlier) EXPECT_GT(difference(beds.back(), beds[earlier - 1]), 30) << earlier;
  }
  // The pause itself carries a trace of noise, so the same bed is nearly, not exactly, equal.
  EXPECT_LT(difference(pause(4), beds[3]), 5);
}

TEST_F(SynthesisTest, MixedScriptsAndOddTextsComplete) {
  for (const char* text : {"\r\n\r\n", "  ", "。", "我喜欢iPhone15和MacBook。", "Hello 世界 & <b>", "&amp;&#20320;"}) {
    SCOPED_TRACE(text);
    EXPECT_TRUE(synthesize(params(), text).complete());
    EXPECT_TRUE(synthesize(params({{"ttp", "ssml"}}), text).complete());
  }
}

}  // namespace
