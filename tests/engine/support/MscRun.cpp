#include "MscRun.h"

#include <iconv.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numeric>
#include <vector>

namespace msctest {

std::string params(const std::map<std::string, std::string>& changes) {
  const std::vector<std::pair<std::string, std::string>> defaults{
      {"ssm", "1"},       {"vcn", "xiaoyan"},  {"spd", "medium"},
      {"vol", "medium"},  {"ttp", "text"},     {"tte", "UTF8"},
      {"bgs", "0"},       {"aue", "speex;7"},  {"auf", "audio/L16;rate=16000"},
      {"rdn", "0"},       {"emot", "sad"}};
  std::string out;
  for (const auto& [key, value] : defaults) {
    const auto changed = changes.find(key);
    if (!out.empty()) out += ',';
    out += key + "=" + (changed == changes.end() ? value : changed->second);
  }
  return out;
}

void collect(const char* sessionId, Synthesis& out) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  int status = 0;
  while (status != 2 && std::chrono::steady_clock::now() < deadline) {
    unsigned length = 0;
    int error = MSC_OK;
    const void* data = QTTSAudioGet(sessionId, &length, &status, &error);
    if (error != MSC_OK) {
      out.getError = error;
      break;
    }
    if (data && length > 0) {
      const auto* samples = static_cast<const std::int16_t*>(data);
      out.pcm.insert(out.pcm.end(), samples, samples + length / 2);
      out.pieceStatuses.push_back(status);
      out.largestPiece = std::max<std::size_t>(out.largestPiece, length);
    }
  }
  out.finalStatus = status;
}

Synthesis synthesize(const std::string& parameters, std::string_view text) {
  Synthesis out;
  const char* id = QTTSSessionBegin(parameters.c_str(), &out.beginError);
  if (!id) return out;
  const std::string sessionId = id;
  out.putError = QTTSTextPut(sessionId.c_str(), text.data(), static_cast<unsigned>(text.size()), "");
  if (out.putError == MSC_OK) collect(sessionId.c_str(), out);
  QTTSSessionEnd(sessionId.c_str(), "");
  return out;
}

double seconds(const Pcm& pcm, int rate) { return static_cast<double>(pcm.size()) / rate; }

double rms(std::span<const std::int16_t> samples) {
  if (samples.empty()) return 0;
  double sum = 0;
  for (const auto s : samples) sum += static_cast<double>(s) * s;
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

double medianPitchHz(const Pcm& pcm, int rate) {
  const auto frame = static_cast<std::size_t>(rate / 25);
  const auto shortest = static_cast<std::size_t>(rate / 600), longest = static_cast<std::size_t>(rate / 60);
  const double loud = 0.5 * rms(pcm);
  std::vector<double> pitches;
  for (std::size_t start = 0; start + frame + longest < pcm.size(); start += frame) {
    const std::span<const std::int16_t> window(pcm.data() + start, frame);
    if (rms(window) < loud) continue;
    double energy = 0;
    for (const auto s : window) energy += static_cast<double>(s) * s;
    double best = 0;
    std::size_t bestLag = 0;
    for (std::size_t lag = shortest; lag <= longest; ++lag) {
      double sum = 0, lagged = 0;
      for (std::size_t i = 0; i < frame; ++i) {
        const double next = pcm[start + i + lag];
        sum += static_cast<double>(window[i]) * next;
        lagged += next * next;
      }
      const double normalised = sum / std::sqrt(energy * lagged + 1);
      if (normalised > best) best = normalised, bestLag = lag;
    }
    if (best > 0.6) pitches.push_back(static_cast<double>(rate) / static_cast<double>(bestLag));
  }
  if (pitches.empty()) return 0;
  std::nth_element(pitches.begin(), pitches.begin() + static_cast<std::ptrdiff_t>(pitches.size() / 2), pitches.end());
  return pitches[pitches.size() / 2];
}

std::vector<double> spectrumDb(const Pcm& pcm, int bands) {
  const std::size_t frame = 2 * static_cast<std::size_t>(bands);
  const double loud = 0.5 * rms(pcm);
  std::vector<double> power(static_cast<std::size_t>(bands), 1e-9);
  for (std::size_t start = 0; start + frame <= pcm.size(); start += frame) {
    const std::span<const std::int16_t> window(pcm.data() + start, frame);
    if (rms(window) < loud) continue;
    for (std::size_t k = 0; k < power.size(); ++k) {
      double re = 0, im = 0;
      for (std::size_t n = 0; n < frame; ++n) {
        // Hann window against leakage between bands.
        const double w = 0.5 - 0.5 * std::cos(2 * M_PI * static_cast<double>(n) / static_cast<double>(frame));
        const double angle = 2 * M_PI * static_cast<double>(k * n) / static_cast<double>(frame);
        re += w * window[n] * std::cos(angle);
        im -= w * window[n] * std::sin(angle);
      }
      power[k] += re * re + im * im;
    }
  }
  std::vector<double> db;
  for (const double p : power) db.push_back(10 * std::log10(p));
  const double mean = std::accumulate(db.begin(), db.end(), 0.0) / static_cast<double>(db.size());
  for (double& d : db) d -= mean;  // the shape, not the loudness
  return db;
}

double envelopeCorrelation(const Pcm& a, const Pcm& b, int rate) {
  const auto frame = static_cast<std::size_t>(rate / 50);
  const std::size_t frames = std::min(a.size(), b.size()) / frame;
  std::vector<double> x, y;
  for (std::size_t f = 0; f < frames; ++f) {
    x.push_back(rms(std::span(a.data() + f * frame, frame)));
    y.push_back(rms(std::span(b.data() + f * frame, frame)));
  }
  if (frames < 2) return 0;
  const double mx = std::accumulate(x.begin(), x.end(), 0.0) / static_cast<double>(frames);
  const double my = std::accumulate(y.begin(), y.end(), 0.0) / static_cast<double>(frames);
  double sxy = 0, sxx = 0, syy = 0;
  for (std::size_t i = 0; i < frames; ++i) {
    sxy += (x[i] - mx) * (y[i] - my);
    sxx += (x[i] - mx) * (x[i] - mx);
    syy += (y[i] - my) * (y[i] - my);
  }
  return sxy / std::sqrt(sxx * syy + 1e-9);
}

std::string encode(std::string_view utf8, const char* encoding) {
  const iconv_t cd = iconv_open(encoding, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(utf8.size() * 4 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size(), outLeft = out.size();
  char* outPtr = out.data();
  const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1)) return {};
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace msctest
