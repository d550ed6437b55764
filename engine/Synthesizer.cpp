#include "Synthesizer.h"

#include <clocale>
#include <new>

#include "AudioPipeline.h"
#include "msc.h"

namespace msc {

Synthesizer::Synthesizer() : worker_([this] { run(); }) {}

Synthesizer::~Synthesizer() { stop(); }

bool Synthesizer::submit(SynthesisJob job) {
  {
    std::lock_guard lock(mutex_);
    if (stopping_) return false;
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
  return true;
}

void Synthesizer::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_one();
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void Synthesizer::run() {
  // espeak-ng expects a UTF-8 character locale; this thread gets one of its
  // own, so the process-wide locale stays the caller's.
  const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (utf8) uselocale(utf8);
  for (;;) {
    SynthesisJob job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stopping_ || !jobs_.empty(); });
      if (stopping_) break;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    try {
      perform(job);
    } catch (const std::bad_alloc&) {
      if (job.queue) job.queue->fail(MSC_ERROR_OUT_OF_MEMORY);
    } catch (...) {
      if (job.queue) job.queue->fail(MSC_ERROR_SYNTHESIS_FAILED);
    }
  }
  if (utf8) {
    uselocale(LC_GLOBAL_LOCALE);
    freelocale(utf8);
  }
}

void Synthesizer::perform(const SynthesisJob& job) {
  AudioQueue& queue = *job.queue;
  if (queue.cancelled()) return;
  std::lock_guard lock(espeak::mutex());
  AudioPipeline pipeline(espeak::sampleRate(), job.sampleRate, job.background, queue);
  if (!pipeline.ready()) return queue.fail(MSC_ERROR_SYNTHESIS_FAILED);
  const espeak::SampleSink sink = [&](const std::int16_t* samples, std::size_t count) {
    if (queue.cancelled()) return false;
    pipeline.feed(samples, count);
    return true;
  };
  for (const SpeechSegment& segment : job.segments) {
    const int result = espeak::speak(segment, job.prosody, sink);
    if (result != MSC_OK) return queue.fail(result);
    if (queue.cancelled()) return;
  }
  pipeline.finish();
}

}  // namespace msc
