// Which parameter strings open a session, and the code for those that do not.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/MscRun.h"

using namespace msctest;

namespace {

struct ParamsRow {
  std::string params;
  int expected;
};

class SessionParamsTest : public EngineTest, public ::testing::WithParamInterface<ParamsRow> {};

TEST_P(SessionParamsTest, BeginAnswersWithItsCode) {
  int error = -1;
  const char* id = QTTSSessionBegin(GetParam().params.c_str(), &error);
  EXPECT_EQ(error, GetParam().expected);
  if (GetParam().expected == MSC_OK) {
    ASSERT_NE(id, nullptr);
    EXPECT_GT(std::string(id).size(), 0u);
    EXPECT_EQ(QTTSSessionEnd(id, ""), MSC_OK);
  } else {
    EXPECT_EQ(id, nullptr);
  }
}

const ParamsRow kRows[] = {
    // the program's own strings
    {"ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=speex;7,"
     "auf=audio/L16;rate=16000,rdn=0,emot=sad", MSC_OK},
    {params({{"aue", "raw"}}), MSC_OK},
    {params({{"aue", "amr;5"}}), MSC_OK},
    {params({{"aue", "amr-wb-fx;0"}}), MSC_OK},
    {params({{"aue", "speex-wb;10"}}), MSC_OK},
    {params({{"aue", "amr-fx"}}), MSC_OK},
    {params({{"spd", "x-slow"}, {"vol", "x-loud"}}), MSC_OK},
    {params({{"spd", "x-fast"}, {"vol", "x-soft"}}), MSC_OK},
    {params({{"ttp", "ssml"}, {"tte", "AUTO"}}), MSC_OK},
    {params({{"tte", "BIG5"}}), MSC_OK},
    {params({{"tte", "UNICODE"}}), MSC_OK},
    {params({{"tte", "GB18030"}}), MSC_OK},
    {params({{"tte", "GBK"}}), MSC_OK},
    {params({{"bgs", "11"}, {"rdn", "3"}}), MSC_OK},
    {params({{"auf", "audio/L16;rate=8000"}}), MSC_OK},
    {params({{"emot", ""}}), MSC_OK},
    {params() + ",pit=50", MSC_OK},  // unknown keys are ignored
    {"vcn=vixm", MSC_OK},            // the rest have defaults
    // voices
    {params({{"vcn", "XiaoYan"}}), MSC_ERROR_UNKNOWN_VOICE},  // letter case is exact
    {params({{"vcn", "aistom"}}), MSC_ERROR_UNKNOWN_VOICE},
    {params({{"vcn", ""}}), MSC_ERROR_UNKNOWN_VOICE},
    {params({{"vcn", "de"}}), MSC_ERROR_UNKNOWN_VOICE},  // a web-route language, not a voice
    {"ssm=1,spd=medium", MSC_ERROR_INVALID_PARAMETER},   // no voice
    // values out of their lists
    {params({{"spd", "faster"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"spd", "2"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"vol", ""}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"ttp", "html"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"tte", "utf8"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"tte", "LATIN1"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"bgs", "12"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"bgs", "-1"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"bgs", ""}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"aue", "raw;1"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"aue", "amr;8"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"aue", "speex;11"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"aue", "speex;"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"aue", "mp3"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"auf", "audio/L16;rate=44100"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"auf", "audio/L16"}}), MSC_ERROR_INVALID_PARAMETER},
    {params({{"rdn", "4"}}), MSC_ERROR_INVALID_PARAMETER},
    // malformed strings
    {params() + ",vcn=henry", MSC_ERROR_INVALID_PARAMETER},  // a key twice
    {params() + ",sad", MSC_ERROR_INVALID_PARAMETER},
    {"=xiaoyan", MSC_ERROR_INVALID_PARAMETER},
    {"", MSC_ERROR_INVALID_PARAMETER},
};

INSTANTIATE_TEST_SUITE_P(Strings, SessionParamsTest, ::testing::ValuesIn(kRows));

class SessionIdTest : public EngineTest {};

TEST_F(SessionIdTest, EveryVoiceCodeOpensASessionWithAFreshId) {
  const char* const codes[] = {
      "xiaoyan", "xiaoqi", "aisxping", "aisjinger", "yefang", "aisxmeng", "aismengchun", "ziqi", "jiajia",
      "aisxa", "aisjying", "aisxchun", "vixf", "aisjiuxu", "aisduoxu", "xiaoyu", "niyang", "vils",
      "aisbabyxu", "vinn", "aisxxin", "xiaowanzi", "aisduck", "Catherine", "vimary", "henry", "aisjohn",
      "aisTom", "vixm", "vixl", "vixr", "vixyun", "vixying", "vixk", "vixqa", "aisdalong"};
  std::set<std::string> ids;
  for (const char* code : codes) {
    SCOPED_TRACE(code);
    int error = -1;
    const char* id = QTTSSessionBegin(params({{"vcn", code}}).c_str(), &error);
    ASSERT_EQ(error, MSC_OK);
    ASSERT_NE(id, nullptr);
    EXPECT_TRUE(ids.insert(id).second);
    ASSERT_EQ(QTTSSessionEnd(id, ""), MSC_OK);
  }
  EXPECT_EQ(ids.size(), 36u);
}

TEST_F(SessionIdTest, SessionsAreLimitedAndEndingOneMakesRoom) {
  std::vector<std::string> ids;
  int error = MSC_OK;
  for (int i = 0; i < MSC_MAX_SESSIONS; ++i) {
    const char* id = QTTSSessionBegin(params().c_str(), &error);
    ASSERT_EQ(error, MSC_OK) << i;
    ids.emplace_back(id);
  }
  EXPECT_EQ(QTTSSessionBegin(params().c_str(), &error), nullptr);
  EXPECT_EQ(error, MSC_ERROR_TOO_MANY_SESSIONS);
  ASSERT_EQ(QTTSSessionEnd(ids.front().c_str(), ""), MSC_OK);
  EXPECT_NE(QTTSSessionBegin(params().c_str(), &error), nullptr);
  EXPECT_EQ(error, MSC_OK);
}

}  // namespace
