// One session's life: its id, its texts one after another, its end, and the
// codes for everything used out of turn.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/MscRun.h"

using namespace msctest;

namespace {

class SessionTest : public EngineTest {
 protected:
  std::string begin(const std::string& parameters = params()) {
    int error = -1;
    const char* id = QTTSSessionBegin(parameters.c_str(), &error);
    EXPECT_EQ(error, MSC_OK);
    return id ? id : "";
  }
  static int put(const std::string& id, std::string_view text) {
    return QTTSTextPut(id.c_str(), text.data(), static_cast<unsigned>(text.size()), "");
  }
  static int poll(const std::string& id, int& status) {
    unsigned length = 0;
    int error = -1;
    QTTSAudioGet(id.c_str(), &length, &status, &error);
    return error;
  }
};

// 2048 bytes of Chinese, the most the program sends.
std::string longestText() {
  std::string text;
  for (int i = 0; i < 681; ++i) text += "好";
  return text + "。..";
}

TEST_F(SessionTest, UnknownAndEndedIdsAreRefusedEverywhere) {
  const std::string id = begin();
  ASSERT_EQ(put(id, "hello"), MSC_OK);
  ASSERT_EQ(QTTSSessionEnd(id.c_str(), "正常关闭"), MSC_OK);
  for (const std::string& stale : {id, std::string("msc-session-999999"), std::string("")}) {
    SCOPED_TRACE(stale);
    EXPECT_EQ(put(stale, "hello"), MSC_ERROR_UNKNOWN_SESSION);
    int status = 0;
    EXPECT_EQ(poll(stale, status), MSC_ERROR_UNKNOWN_SESSION);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(QTTSSessionEnd(stale.c_str(), ""), MSC_ERROR_UNKNOWN_SESSION);
  }
}

TEST_F(SessionTest, AudioBeforeAnyTextIsRefused) {
  const std::string id = begin();
  int status = 0;
  EXPECT_EQ(poll(id, status), MSC_ERROR_NO_TEXT);
  EXPECT_EQ(status, 2);
}

TEST_F(SessionTest, ANewTextWaitsUntilTheLastAudioIsCollected) {
  const std::string id = begin();
  ASSERT_EQ(put(id, "今天天气很好。"), MSC_OK);
  EXPECT_EQ(put(id, "明天。"), MSC_ERROR_SESSION_BUSY);
  Synthesis first;
  collect(id.c_str(), first);
  ASSERT_TRUE(first.complete());
  // Done stays done, with no audio, until the next text.
  int status = 0;
  EXPECT_EQ(poll(id, status), MSC_OK);
  EXPECT_EQ(status, 2);
  ASSERT_EQ(put(id, "今天天气很好。今天天气很好。"), MSC_OK);
  Synthesis second;
  collect(id.c_str(), second);
  ASSERT_TRUE(second.complete());
  EXPECT_GT(seconds(second.pcm), seconds(first.pcm) * 1.5);
}

TEST_F(SessionTest, TextLengthIsCheckedInBytesAgainstTheLimit) {
  const std::string text = longestText();
  ASSERT_EQ(text.size(), 2048u);
  const std::string id = begin();
  EXPECT_EQ(put(id, text + "!"), MSC_ERROR_TEXT_TOO_LONG);
  ASSERT_EQ(put(id, text), MSC_OK);
  // A refused text leaves the session as it was: the accepted one still comes through.
  Synthesis s;
  collect(id.c_str(), s);
  EXPECT_TRUE(s.complete());
  EXPECT_GT(seconds(s.pcm), 60);
}

TEST_F(SessionTest, EndingASessionStopsItsSynthesisAtOnce) {
  const std::string id = begin();
  ASSERT_EQ(put(id, longestText()), MSC_OK);
  int status = 0;
  ASSERT_EQ(poll(id, status), MSC_OK);
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(QTTSSessionEnd(id.c_str(), "正常关闭"), MSC_OK);
  // The next session is not queued behind the rest of the long text.
  const Synthesis next = synthesize(params(), "你好。");
  EXPECT_TRUE(next.complete());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(SessionFini, FiniWhileTextsAreBeingMadeEndsThemAndStartsAgainCleanly) {
  ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK);
  for (int i = 0; i < 3; ++i) {
    int error = -1;
    const char* id = QTTSSessionBegin(params().c_str(), &error);
    ASSERT_NE(id, nullptr);
    ASSERT_EQ(QTTSTextPut(id, longestText().c_str(), 2048, ""), MSC_OK);
  }
  EXPECT_EQ(QTTSFini(), MSC_OK);
  ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK);
  EXPECT_TRUE(synthesize(params(), "你好。").complete());
  EXPECT_EQ(QTTSFini(), MSC_OK);
}

}  // namespace
