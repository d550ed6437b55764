// How a text is cut into runs for espeak-ng's voices, and what those voices
// make of the runs (phonemes), straight from the library's pieces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Espeak.h"
#include "SpeechPlan.h"
#include "VoiceTable.h"

using msc::SpeechSegment;

namespace {

const msc::VoiceProfile& voice(const char* code) {
  const msc::VoiceProfile* v = msc::findVoice(code);
  EXPECT_NE(v, nullptr) << code;
  return *v;
}

struct PlanRow {
  const char* code;
  const char* text;
  int rdn;
  std::vector<SpeechSegment> expected;
};

TEST(SpeechPlan, PlainTextSplitsByScript) {
  const std::string han = "cmn-latn-pinyin+f3", latin = "en-us+f3";
  const PlanRow rows[] = {
      {"xiaoyan", "今天天气很好", 0, {{han, "今天天气很好"}}},
      {"xiaoyan", "我喜欢apple手机", 0, {{han, "我喜欢"}, {latin, "apple"}, {han, "手机"}}},
      // digits, spaces and punctuation stay in the run they are in
      {"xiaoyan", "第2天 iPhone 15, 好!", 0, {{han, "第2天 "}, {latin, "iPhone 15, "}, {han, "好!"}}},
      // what comes before the first word goes with it
      {"xiaoyan", "  (hello) 世界", 0, {{latin, "  (hello) "}, {han, "世界"}}},
      {"xiaoyan", "Ｈｉ，Café", 0, {{latin, "Ｈｉ，Café"}}},
      {"henry", "Hello 世界", 0, {{"en+m3", "Hello "}, {"cmn-latn-pinyin+m3", "世界"}}},
      {"vixm", "早晨 Tom", 0, {{"yue+f2", "早晨 "}, {"en+f2", "Tom"}}},
      {"xiaoyan", "\r\n", 0, {{han, "\r\n"}}},
      {"xiaoyan", "电话13800138000", 2, {{han, "电话1 3 8 0 0 1 3 8 0 0 0"}}},
      {"xiaoyan", "1234和0123和12345", 3, {{han, "1234和0 1 2 3和1 2 3 4 5"}}},
      {"xiaoyan", "1234和5", 1, {{han, "1234和5"}}},
  };
  for (const PlanRow& row : rows) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(msc::planSpeech(voice(row.code), row.text, false, row.rdn), row.expected);
  }
}

TEST(SpeechPlan, SsmlStaysOneSegmentWithForeignRunsWrapped) {
  struct Row {
    const char* text;
    int rdn;
    const char* expected;
  };
  const Row rows[] = {
      {"<speak>今天hello<break time=\"1000ms\"/>world天气</speak>", 2,
       "<speak>今天<voice name=\"en-us+f3\">hello</voice><break time=\"1000ms\"/>"
       "<voice name=\"en-us+f3\">world</voice>天气</speak>"},
      // attribute values and character references are left alone
      {"<p title='a>b'>ok &amp; 好</p>", 0,
       "<p title='a>b'><voice name=\"en-us+f3\">ok &amp; </voice>好</p>"},
      {"<!-- note -->电话 110", 2, "<!-- note -->电话 1 1 0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const auto segments = msc::planSpeech(voice("xiaoyan"), row.text, true, row.rdn);
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_TRUE(segments[0].ssml);
    EXPECT_EQ(segments[0].voice, "cmn-latn-pinyin+f3");
    EXPECT_EQ(segments[0].text, row.expected);
  }
}

class PhonemeTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(msc::espeak::load(), 0); }
  static std::string phonemes(const msc::VoiceProfile& v, const char* text) {
    std::string out;
    std::lock_guard lock(msc::espeak::mutex());
    for (const SpeechSegment& segment : msc::planSpeech(v, text, false, 0))
      out += msc::espeak::phonemes(segment, {v.rate, 100, v.pitch, v.range}) + " | ";
    return out;
  }
};

TEST_F(PhonemeTest, ChineseVoicesReadChineseCharactersAsChinese) {
  // espeak-ng's plain "cmn" switches to English for these, marked "(en)".
  msc::VoiceProfile plainCmn = voice("xiaoyan");
  plainCmn.hanVoice = "cmn";
  ASSERT_NE(phonemes(plainCmn, "今天天气很好").find("(en)"), std::string::npos);

  for (const msc::VoiceProfile& v : msc::allVoices()) {
    SCOPED_TRACE(std::string(v.code));
    const std::string read = phonemes(v, "今天天气很好");
    EXPECT_EQ(read.find("(en)"), std::string::npos) << read;
    EXPECT_NE(read.find_first_of("123456"), std::string::npos) << read;  // tone numbers
  }
}

TEST_F(PhonemeTest, LatinWordsInChineseAreReadAsEnglishNotPinyin) {
  const msc::VoiceProfile& v = voice("xiaoyan");
  const std::string read = phonemes(v, "我们 you man 走");
  msc::VoiceProfile asPinyin = v;
  asPinyin.latinVoice = "cmn-latn-pinyin";
  const std::string pinyin = phonemes(asPinyin, "我们 you man 走");
  EXPECT_NE(read, pinyin);
  EXPECT_NE(pinyin.find("iou"), std::string::npos) << pinyin;  // "you" as the syllable you
  EXPECT_EQ(read.find("iou"), std::string::npos) << read;
  EXPECT_NE(read.find("ju:"), std::string::npos) << read;
}

}  // namespace
