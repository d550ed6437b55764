#include "Espeak.h"

#include <espeak-ng/espeak_ng.h>

#include <clocale>

#include "msc.h"

namespace msc::espeak {

namespace {

bool loaded = false;
int rate = 0;
const SampleSink* currentSink = nullptr;
bool sinkStopped = false;

constexpr int kBufferMilliseconds = 100;

int onSamples(short* samples, int count, espeak_EVENT*) {
  if (!currentSink || sinkStopped) return 1;
  if (samples && count > 0 && !(*currentSink)(samples, static_cast<std::size_t>(count))) {
    sinkStopped = true;
    return 1;
  }
  return 0;
}

bool apply(const SpeechSegment& segment, const Prosody& prosody) {
  if (espeak_SetVoiceByName(segment.voice.c_str()) != EE_OK) return false;
  // Set after the voice, so that no earlier session's values carry over.
  espeak_SetParameter(espeakRATE, prosody.rate, 0);
  espeak_SetParameter(espeakVOLUME, prosody.volume, 0);
  espeak_SetParameter(espeakPITCH, prosody.pitch, 0);
  espeak_SetParameter(espeakRANGE, prosody.range, 0);
  return true;
}

}  // namespace

std::mutex& mutex() {
  // Never destroyed: the worker may hold it while the process exits.
  static std::mutex* instance = new std::mutex;
  return *instance;
}

int load() {
  std::lock_guard lock(mutex());
  if (loaded) return MSC_OK;
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  const std::string callerLocale = current ? current : "C";
  espeak_ng_InitializePath(nullptr);
  espeak_ng_ERROR_CONTEXT context = nullptr;
  espeak_ng_STATUS status = espeak_ng_Initialize(&context);
  espeak_ng_ClearErrorContext(&context);
  if (status == ENS_OK) status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kBufferMilliseconds, nullptr);
  std::setlocale(LC_CTYPE, callerLocale.c_str());
  if (status != ENS_OK) return MSC_ERROR_ENGINE_UNAVAILABLE;
  espeak_SetSynthCallback(onSamples);
  rate = espeak_ng_GetSampleRate();
  loaded = rate > 0;
  return loaded ? MSC_OK : MSC_ERROR_ENGINE_UNAVAILABLE;
}

int sampleRate() { return rate; }

int speak(const SpeechSegment& segment, const Prosody& prosody, const SampleSink& sink) {
  if (!apply(segment, prosody)) return MSC_ERROR_SYNTHESIS_FAILED;
  currentSink = &sink;
  sinkStopped = false;
  const unsigned flags = espeakCHARS_UTF8 | (segment.ssml ? espeakSSML : 0u);
  const espeak_ERROR result = espeak_Synth(segment.text.c_str(), segment.text.size() + 1, 0, POS_CHARACTER, 0,
                                           flags, nullptr, nullptr);
  currentSink = nullptr;
  // A stop asked for by the sink is not a failure of the back end.
  return result == EE_OK || sinkStopped ? MSC_OK : MSC_ERROR_SYNTHESIS_FAILED;
}

std::string phonemes(const SpeechSegment& segment, const Prosody& prosody) {
  if (!apply(segment, prosody)) return {};
  std::string out;
  const void* text = segment.text.c_str();
  while (text) {
    const char* piece = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, 0);
    if (piece && *piece) {
      if (!out.empty()) out += ' ';
      out += piece;
    }
  }
  return out;
}

}  // namespace msc::espeak
