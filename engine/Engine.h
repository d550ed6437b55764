#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "AudioQueue.h"
#include "EngineConfig.h"
#include "SessionParams.h"
#include "Synthesizer.h"

namespace msc {

// The state behind the six functions. Every operation returns an MscError.
class Engine {
 public:
  int init(const char* configs);
  const char* beginSession(const char* params, int& error);
  int putText(const char* sessionId, const char* text, unsigned textLength);
  const void* getAudio(const char* sessionId, unsigned& audioLength, int& status, int& error);
  int endSession(const char* sessionId);
  int fini();

 private:
  struct Session {
    std::string id;
    SessionParams params;
    std::mutex mutex;  // one call at a time for this session
    std::shared_ptr<AudioQueue> queue;  // the current text's audio; null before the first text
    AudioQueue::Samples handedOut;      // the piece the caller is reading
    bool collected = false;             // the current text's audio has been handed out
    int finalError = 0;
  };

  // Under mutex_: the open session with this id, or null with error set.
  std::shared_ptr<Session> find(const char* sessionId, int& error);

  std::mutex mutex_;
  bool initialised_ = false;
  EngineConfig config_;
  std::unordered_map<std::string, std::shared_ptr<Session>> sessions_;
  std::shared_ptr<Synthesizer> synthesizer_;
  std::uint64_t nextSessionNumber_ = 1;  // never reused, so ended ids stay unknown
};

// The process's engine. It is never destroyed: its worker may still run when
// static objects are torn down at exit.
Engine& theEngine();

}  // namespace msc
