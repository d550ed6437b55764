#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "AudioQueue.h"
#include "BackgroundBed.h"

typedef struct soxr* soxr_t;

namespace msc {

// The back end's samples on their way to a session: resampled to the
// session's rate, the background bed laid under them, cut into pieces of
// half a second and pushed into the queue.
class AudioPipeline {
 public:
  AudioPipeline(int inputRate, int outputRate, int background, AudioQueue& queue);
  ~AudioPipeline();
  AudioPipeline(const AudioPipeline&) = delete;
  AudioPipeline& operator=(const AudioPipeline&) = delete;

  bool ready() const { return resampler_ != nullptr; }
  void feed(const std::int16_t* samples, std::size_t count);
  // Drains the resampler, pushes the last piece and closes the queue.
  void finish();

 private:
  void pushFullPieces();
  void pushPiece(std::size_t count, bool last);

  soxr_t resampler_ = nullptr;
  AudioQueue& queue_;
  std::optional<BackgroundBed> bed_;
  std::size_t pieceSamples_;
  std::vector<std::int16_t> pending_;
  std::vector<std::int16_t> scratch_;
};

}  // namespace msc
