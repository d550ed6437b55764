#pragma once

// Runs of the engine library through its six functions, and measures of the
// audio they give.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "msc.h"

namespace msctest {

using Pcm = std::vector<std::int16_t>;

// The configuration string the program passes.
inline constexpr const char* kProgramConfig =
    "server_url=tts.invalid/index.htm,appid=5a1b2c3d,timeout=10000,coding_libs=speex.dll,max_text_size=2048";

// The program's eleven-piece parameter string with some values replaced,
// e.g. params({{"vcn", "henry"}, {"auf", "audio/L16;rate=8000"}}).
std::string params(const std::map<std::string, std::string>& changes = {});

struct Synthesis {
  int beginError = MSC_OK;
  int putError = MSC_OK;
  int getError = MSC_OK;
  Pcm pcm;
  std::vector<int> pieceStatuses;  // the status that came with each piece
  int finalStatus = 0;
  std::size_t largestPiece = 0;    // bytes
  bool complete() const { return beginError == MSC_OK && putError == MSC_OK && getError == MSC_OK && finalStatus == 2; }
};

// Polls until status 2 or an error, at most a minute.
void collect(const char* sessionId, Synthesis& out);

// Begin, put, collect, end.
Synthesis synthesize(const std::string& parameters, std::string_view text);

double seconds(const Pcm& pcm, int rate = 16000);
double rms(std::span<const std::int16_t> samples);
// Median fundamental frequency of the voiced frames, by autocorrelation.
double medianPitchHz(const Pcm& pcm, int rate = 16000);
// Long-term average spectrum: the level in dB of each of bands equal bands
// from 0 Hz to half the rate, over the loud frames.
std::vector<double> spectrumDb(const Pcm& pcm, int bands = 32);
// Pearson correlation of the 20 ms loudness envelopes over the shorter length.
double envelopeCorrelation(const Pcm& a, const Pcm& b, int rate = 16000);

// UTF-8 text converted to another encoding with iconv.
std::string encode(std::string_view utf8, const char* encoding);

// Starts the engine for each test and stops it after.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(QTTSInit(kProgramConfig), MSC_OK); }
  void TearDown() override { QTTSFini(); }
};

}  // namespace msctest
