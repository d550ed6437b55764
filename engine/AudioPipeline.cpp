#include "AudioPipeline.h"

#include <soxr.h>

#include <span>

namespace msc {

namespace {
constexpr std::size_t kScratchSamples = 4096;
}

AudioPipeline::AudioPipeline(int inputRate, int outputRate, int background, AudioQueue& queue)
    : queue_(queue), pieceSamples_(static_cast<std::size_t>(outputRate / 2)), scratch_(kScratchSamples) {
  const soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
  const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
  // One thread: the worker already owns the only core it should use.
  const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
  soxr_error_t error = nullptr;
  resampler_ = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, &runtime);
  if (error) {
    soxr_delete(resampler_);
    resampler_ = nullptr;
  }
  if (background > 0) bed_.emplace(background, outputRate);
}

AudioPipeline::~AudioPipeline() { soxr_delete(resampler_); }

void AudioPipeline::feed(const std::int16_t* samples, std::size_t count) {
  while (count > 0) {
    std::size_t used = 0, made = 0;
    soxr_process(resampler_, samples, count, &used, scratch_.data(), scratch_.size(), &made);
    pending_.insert(pending_.end(), scratch_.begin(), scratch_.begin() + static_cast<std::ptrdiff_t>(made));
    samples += used;
    count -= used;
    if (used == 0 && made == 0) break;
  }
  pushFullPieces();
}

void AudioPipeline::finish() {
  std::size_t made = 0;
  do {
    soxr_process(resampler_, nullptr, 0, nullptr, scratch_.data(), scratch_.size(), &made);
    pending_.insert(pending_.end(), scratch_.begin(), scratch_.begin() + static_cast<std::ptrdiff_t>(made));
  } while (made > 0);
  // Keep the tail with the last full piece so the bed can fade out over it.
  while (pending_.size() > 2 * pieceSamples_) pushPiece(pieceSamples_, false);
  if (pending_.size() > pieceSamples_) pushPiece(pending_.size() - pieceSamples_, false);
  if (!pending_.empty())
    pushPiece(pending_.size(), true);
  else
    queue_.finish();
}

void AudioPipeline::pushFullPieces() {
  // One piece is held back until the end, so that the last one is never tiny.
  while (pending_.size() >= 2 * pieceSamples_) pushPiece(pieceSamples_, false);
}

void AudioPipeline::pushPiece(std::size_t count, bool last) {
  AudioQueue::Samples piece(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(count));
  if (bed_) bed_->mixInto(std::span(piece), last);
  queue_.push(std::move(piece), last);
}

}  // namespace msc
