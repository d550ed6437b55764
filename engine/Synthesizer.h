#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "AudioQueue.h"
#include "Espeak.h"
#include "SpeechPlan.h"

namespace msc {

struct SynthesisJob {
  std::vector<SpeechSegment> segments;
  espeak::Prosody prosody;
  int sampleRate;
  int background;
  std::shared_ptr<AudioQueue> queue;
};

// The one worker thread that speaks: jobs run one at a time, in the order
// they came, each with its own voice and settings.
class Synthesizer {
 public:
  Synthesizer();
  ~Synthesizer();
  Synthesizer(const Synthesizer&) = delete;
  Synthesizer& operator=(const Synthesizer&) = delete;

  // False once stopped.
  bool submit(SynthesisJob job);
  // Ends the worker after its current job; jobs not yet begun are dropped.
  void stop();

 private:
  void run();
  static void perform(const SynthesisJob& job);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<SynthesisJob> jobs_;
  bool stopping_ = false;
  std::thread worker_;
};

}  // namespace msc
