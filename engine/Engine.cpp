#include "Engine.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "SpeechPlan.h"
#include "TextDecoder.h"
#include "msc.h"

namespace msc {

namespace {

// Percent of the voice's own rate and volume for x-slow..x-fast and x-soft..x-loud.
constexpr std::array<int, 5> kSpeedPercent{55, 75, 100, 130, 170};
constexpr std::array<int, 5> kVolumePercent{30, 60, 100, 125, 150};

// The longest a poll waits for audio that is being made.
constexpr std::chrono::milliseconds kPollWait{20};

espeak::Prosody prosodyFor(const SessionParams& params) {
  const VoiceProfile& voice = *params.voice;
  const auto speed = static_cast<std::size_t>(params.speed);
  const auto volume = static_cast<std::size_t>(params.volume);
  return {std::clamp(voice.rate * kSpeedPercent.at(speed) / 100, 80, 450),
          std::clamp(voice.volume * kVolumePercent.at(volume) / 100, 0, 200), voice.pitch, voice.range};
}

}  // namespace

Engine& theEngine() {
  static Engine* engine = new Engine;
  return *engine;
}

std::shared_ptr<Engine::Session> Engine::find(const char* sessionId, int& error) {
  if (!initialised_) {
    error = MSC_ERROR_NOT_INITIALIZED;
    return nullptr;
  }
  if (!sessionId) {
    error = MSC_ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const auto it = sessions_.find(sessionId);
  if (it == sessions_.end()) {
    error = MSC_ERROR_UNKNOWN_SESSION;
    return nullptr;
  }
  error = MSC_OK;
  return it->second;
}

int Engine::init(const char* configs) {
  std::lock_guard lock(mutex_);
  if (initialised_) return MSC_ERROR_ALREADY_INITIALIZED;
  if (!configs) return MSC_ERROR_INVALID_CONFIG;
  const auto config = parseEngineConfig(configs);
  if (!config) return MSC_ERROR_INVALID_CONFIG;
  if (const int loaded = espeak::load(); loaded != MSC_OK) return loaded;
  synthesizer_ = std::make_shared<Synthesizer>();
  config_ = *config;
  initialised_ = true;
  return MSC_OK;
}

const char* Engine::beginSession(const char* params, int& error) {
  std::lock_guard lock(mutex_);
  if (!initialised_) {
    error = MSC_ERROR_NOT_INITIALIZED;
    return nullptr;
  }
  if (!params) {
    error = MSC_ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  SessionParams parsed;
  error = parseSessionParams(params, parsed);
  if (error != MSC_OK) return nullptr;
  if (sessions_.size() >= MSC_MAX_SESSIONS) {
    error = MSC_ERROR_TOO_MANY_SESSIONS;
    return nullptr;
  }
  auto session = std::make_shared<Session>();
  session->id = "msc-session-" + std::to_string(nextSessionNumber_++);
  session->params = parsed;
  const char* id = session->id.c_str();
  sessions_.emplace(session->id, std::move(session));
  return id;
}

int Engine::putText(const char* sessionId, const char* text, unsigned textLength) {
  int error = MSC_OK;
  std::shared_ptr<Session> session;
  std::shared_ptr<Synthesizer> synthesizer;
  unsigned maxTextSize = 0;
  {
    std::lock_guard lock(mutex_);
    session = find(sessionId, error);
    if (!session) return error;
    synthesizer = synthesizer_;
    maxTextSize = config_.maxTextSize;
  }
  if (!text || textLength == 0) return MSC_ERROR_INVALID_PARAMETER;
  if (textLength > maxTextSize) return MSC_ERROR_TEXT_TOO_LONG;

  std::lock_guard sessionLock(session->mutex);
  if (session->queue && !session->collected) return MSC_ERROR_SESSION_BUSY;
  std::string utf8;
  error = decodeText(std::string_view(text, textLength), session->params.encoding, utf8);
  if (error != MSC_OK) return error;
  const SessionParams& params = session->params;
  auto queue = std::make_shared<AudioQueue>();
  SynthesisJob job{planSpeech(*params.voice, utf8, params.ssml, params.numberReading), prosodyFor(params),
                   params.sampleRate, params.background, queue};
  if (!synthesizer->submit(std::move(job))) return MSC_ERROR_NOT_INITIALIZED;
  session->queue = std::move(queue);
  session->collected = false;
  session->finalError = MSC_OK;
  return MSC_OK;
}

const void* Engine::getAudio(const char* sessionId, unsigned& audioLength, int& status, int& error) {
  audioLength = 0;
  // Nothing more will come after a failure; a caller waiting for the end stops here.
  status = MSC_STATUS_DONE;
  std::shared_ptr<Session> session;
  {
    std::lock_guard lock(mutex_);
    session = find(sessionId, error);
    if (!session) return nullptr;
  }
  std::lock_guard sessionLock(session->mutex);
  if (!session->queue) {
    error = MSC_ERROR_NO_TEXT;
    return nullptr;
  }
  if (session->collected) {
    error = session->finalError;
    return nullptr;
  }
  const AudioQueue::Taken taken = session->queue->take(session->handedOut, kPollWait);
  error = taken.error;
  if (taken.last) {
    session->collected = true;
    session->finalError = taken.error;
  } else {
    status = MSC_STATUS_MORE;
  }
  if (!taken.piece) return nullptr;
  audioLength = static_cast<unsigned>(session->handedOut.size() * sizeof(std::int16_t));
  return session->handedOut.data();
}

int Engine::endSession(const char* sessionId) {
  int error = MSC_OK;
  std::shared_ptr<Session> session;
  {
    std::lock_guard lock(mutex_);
    session = find(sessionId, error);
    if (!session) return error;
    sessions_.erase(session->id);
  }
  std::lock_guard sessionLock(session->mutex);
  if (session->queue) session->queue->cancel();
  return MSC_OK;
}

int Engine::fini() {
  std::unordered_map<std::string, std::shared_ptr<Session>> sessions;
  std::shared_ptr<Synthesizer> synthesizer;
  {
    std::lock_guard lock(mutex_);
    if (!initialised_) return MSC_ERROR_NOT_INITIALIZED;
    initialised_ = false;
    sessions.swap(sessions_);
    synthesizer.swap(synthesizer_);
  }
  for (auto& [id, session] : sessions) {
    std::lock_guard sessionLock(session->mutex);
    if (session->queue) session->queue->cancel();
  }
  synthesizer->stop();
  return MSC_OK;
}

}  // namespace msc
