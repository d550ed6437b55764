// Sessions side by side and from several threads: each keeps its own voice
// and settings, and all of them finish.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/MscRun.h"

using namespace msctest;

namespace {

class ConcurrencyTest : public EngineTest {};

struct Job {
  std::string params;
  std::string text;
};

// espeak-ng carries a little state from one text to the next: a few tens of
// milliseconds of length. Another session's settings would change far more.
double tolerance(double seconds) { return std::max(0.02 * seconds, 0.05); }

const std::vector<Job> kJobs = {
    {params({{"vcn", "xiaoyan"}, {"spd", "x-fast"}}), "今天天气很好，我们去公园。"},
    {params({{"vcn", "henry"}, {"spd", "x-slow"}, {"auf", "audio/L16;rate=8000"}}), "The weather is fine today."},
    {params({{"vcn", "vixm"}, {"vol", "x-loud"}}), "今天天气很好，我们去公园。"},
    {params({{"vcn", "aisduck"}, {"bgs", "3"}}), "Hello, 你好。"},
};

TEST_F(ConcurrencyTest, TwoSessionsInTurnKeepTheirOwnSettings) {
  std::vector<double> alone;
  for (const Job& job : kJobs) alone.push_back(seconds(synthesize(job.params, job.text).pcm));

  int error = -1;
  const std::string first = QTTSSessionBegin(kJobs[0].params.c_str(), &error);
  const std::string second = QTTSSessionBegin(kJobs[1].params.c_str(), &error);
  ASSERT_EQ(QTTSTextPut(first.c_str(), kJobs[0].text.data(), static_cast<unsigned>(kJobs[0].text.size()), ""), 0);
  ASSERT_EQ(QTTSTextPut(second.c_str(), kJobs[1].text.data(), static_cast<unsigned>(kJobs[1].text.size()), ""), 0);
  Synthesis a, b;
  collect(second.c_str(), b);
  collect(first.c_str(), a);
  ASSERT_TRUE(a.complete());
  ASSERT_TRUE(b.complete());
  EXPECT_NEAR(seconds(a.pcm), alone[0], tolerance(alone[0]));
  EXPECT_NEAR(seconds(b.pcm), alone[1], tolerance(alone[1]));
}

TEST_F(ConcurrencyTest, ThreadsRunningSessionsAllFinishWithTheirOwnAudio) {
  std::vector<double> alone;
  for (const Job& job : kJobs) alone.push_back(seconds(synthesize(job.params, job.text).pcm));

  constexpr int kRounds = 3;
  std::vector<std::vector<double>> lengths(kJobs.size());
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < kJobs.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        const Synthesis s = synthesize(kJobs[t].params, kJobs[t].text);
        if (!s.complete()) ++failures;
        lengths[t].push_back(seconds(s.pcm));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
  for (std::size_t t = 0; t < kJobs.size(); ++t)
    for (const double length : lengths[t]) EXPECT_NEAR(length, alone[t], tolerance(alone[t])) << t;
}

TEST_F(ConcurrencyTest, SessionsBegunAndEndedFromManyThreadsStayConsistent) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 6; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 40; ++i) {
        int error = -1;
        const char* id = QTTSSessionBegin(params().c_str(), &error);
        if (!id || error != MSC_OK) {
          ++failures;
          continue;
        }
        const std::string copy = id;
        if (i % 4 == 0 && QTTSTextPut(copy.c_str(), "hi", 2, "") != MSC_OK) ++failures;
        if (QTTSSessionEnd(copy.c_str(), "") != MSC_OK) ++failures;
        if (QTTSSessionEnd(copy.c_str(), "") != MSC_ERROR_UNKNOWN_SESSION) ++failures;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
