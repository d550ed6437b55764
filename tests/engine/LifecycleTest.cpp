// Configuration strings, the order of init and fini, and every function's
// answer when the engine is not running.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "support/MscRun.h"

using namespace msctest;

namespace {

struct ConfigRow {
  const char* config;
  int expected;
};

class ConfigTest : public ::testing::TestWithParam<ConfigRow> {
 protected:
  void TearDown() override { QTTSFini(); }
};

TEST_P(ConfigTest, InitAnswersWithItsCode) {
  EXPECT_EQ(QTTSInit(GetParam().config), GetParam().expected);
  EXPECT_EQ(QTTSFini(), GetParam().expected == MSC_OK ? MSC_OK : MSC_ERROR_NOT_INITIALIZED);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ConfigTest,
    ::testing::Values(ConfigRow{kProgramConfig, MSC_OK},
                      ConfigRow{"", MSC_OK},
                      ConfigRow{"max_text_size=1", MSC_OK},
                      ConfigRow{"engine_type=local,max_text_size=4096", MSC_OK},  // unknown keys are ignored
                      ConfigRow{"appid=x,,timeout=1,", MSC_OK},                     // empty pieces are skipped
                      ConfigRow{"server_url=a/b=c", MSC_OK},                        // split at the first "="
                      ConfigRow{"appid", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"=x", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"appid=a,appid=b", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"max_text_size=", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"max_text_size=0", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"max_text_size=-5", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"max_text_size=2k", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"max_text_size=99999999999999999999", MSC_ERROR_INVALID_CONFIG},
                      ConfigRow{"timeout=ten", MSC_ERROR_INVALID_CONFIG}));

TEST(Lifecycle, EveryFunctionRefusesBeforeInitAndAfterFini) {
  for (const bool afterFini : {false, true}) {
    SCOPED_TRACE(afterFini ? "after fini" : "before init");
    std::string staleId;
    if (afterFini) {
      ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK);
      int error = -1;
      const char* id = QTTSSessionBegin(params().c_str(), &error);
      ASSERT_NE(id, nullptr);
      staleId = id;
      ASSERT_EQ(QTTSTextPut(id, "hello", 5, ""), MSC_OK);
      ASSERT_EQ(QTTSFini(), MSC_OK);
    }
    const char* id = afterFini ? staleId.c_str() : "msc-session-1";
    int error = -1;
    EXPECT_EQ(QTTSSessionBegin(params().c_str(), &error), nullptr);
    EXPECT_EQ(error, MSC_ERROR_NOT_INITIALIZED);
    EXPECT_EQ(QTTSTextPut(id, "hello", 5, ""), MSC_ERROR_NOT_INITIALIZED);
    unsigned length = 7;
    int status = 0;
    EXPECT_EQ(QTTSAudioGet(id, &length, &status, &error), nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(status, 2);  // nothing will come, so a caller waiting for the end stops
    EXPECT_EQ(error, MSC_ERROR_NOT_INITIALIZED);
    EXPECT_EQ(QTTSSessionEnd(id, ""), MSC_ERROR_NOT_INITIALIZED);
    EXPECT_EQ(QTTSFini(), MSC_ERROR_NOT_INITIALIZED);
  }
}

TEST(Lifecycle, InitTwiceFailsAndFiniAllowsANewStartWithFreshState) {
  ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK);
  EXPECT_EQ(QTTSInit(kProgramConfig), MSC_ERROR_ALREADY_INITIALIZED);
  EXPECT_EQ(QTTSInit("garbage"), MSC_ERROR_ALREADY_INITIALIZED);
  int error = -1;
  const std::string oldId = QTTSSessionBegin(params().c_str(), &error);
  ASSERT_EQ(QTTSFini(), MSC_OK);

  ASSERT_EQ(QTTSInit("max_text_size=4"), MSC_OK);
  EXPECT_EQ(QTTSTextPut(oldId.c_str(), "hi", 2, ""), MSC_ERROR_UNKNOWN_SESSION);
  const Synthesis fits = synthesize(params({{"vcn", "henry"}}), "Tom.");
  EXPECT_TRUE(fits.complete());
  EXPECT_GT(fits.pcm.size(), 0u);
  // The new start's own limit holds, not the old one's.
  EXPECT_EQ(synthesize(params(), "Toms.").putError, MSC_ERROR_TEXT_TOO_LONG);
  EXPECT_EQ(QTTSFini(), MSC_OK);
  EXPECT_EQ(QTTSFini(), MSC_ERROR_NOT_INITIALIZED);
}

TEST(Lifecycle, NullArgumentsAreRefusedWithoutCrashing) {
  EXPECT_EQ(QTTSInit(nullptr), MSC_ERROR_INVALID_CONFIG);
  ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK);
  int error = -1;
  EXPECT_EQ(QTTSSessionBegin(nullptr, &error), nullptr);
  EXPECT_EQ(error, MSC_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(QTTSSessionBegin("vcn=nobody", nullptr), nullptr);
  const char* id = QTTSSessionBegin(params().c_str(), nullptr);
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(QTTSTextPut(nullptr, "a", 1, ""), MSC_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(QTTSTextPut(id, nullptr, 1, ""), MSC_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(QTTSTextPut(id, "a", 0, nullptr), MSC_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(QTTSAudioGet(nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(QTTSTextPut(id, "hello", 5, nullptr), MSC_OK);
  // Out-parameters are optional.
  for (int i = 0; i < 3; ++i) QTTSAudioGet(id, nullptr, nullptr, nullptr);
  Synthesis rest;
  collect(id, rest);
  EXPECT_EQ(rest.finalStatus, 2);
  EXPECT_EQ(QTTSSessionEnd(nullptr, nullptr), MSC_ERROR_INVALID_PARAMETER);
  EXPECT_EQ(QTTSSessionEnd(id, nullptr), MSC_OK);
  EXPECT_EQ(QTTSFini(), MSC_OK);
}

TEST(Lifecycle, EveryCodeHasItsOwnText) {
  std::set<std::string> texts;
  for (int code = MSC_OK; code <= MSC_ERROR_TOO_MANY_SESSIONS; ++code) texts.insert(msc_ErrorText(code));
  EXPECT_EQ(texts.size(), static_cast<std::size_t>(MSC_ERROR_TOO_MANY_SESSIONS + 1));
  EXPECT_STREQ(msc_ErrorText(-3), "unknown error code");
  EXPECT_STREQ(msc_ErrorText(9999), "unknown error code");
}

}  // namespace
