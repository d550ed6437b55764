// espeak-ng's loading sets the process-wide LC_CTYPE; the engine puts the
// caller's back. Its own program, so that the loading happens here.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "support/MscRun.h"

using namespace msctest;

TEST(Locale, TheCallersCharacterLocaleSurvivesInitAndSynthesis) {
  ASSERT_NE(std::setlocale(LC_CTYPE, "C"), nullptr);
  ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK);
  EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
  const Synthesis s = synthesize(params(), "今天天气很好。Straße, café.");
  EXPECT_TRUE(s.complete());
  EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C");
  EXPECT_EQ(QTTSFini(), MSC_OK);
}
