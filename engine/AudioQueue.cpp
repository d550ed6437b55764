#include "AudioQueue.h"

namespace msc {

void AudioQueue::push(Samples piece, bool last) {
  {
    std::lock_guard lock(mutex_);
    pieces_.push_back(std::move(piece));
    finished_ = finished_ || last;
  }
  ready_.notify_all();
}

void AudioQueue::finish() {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
  }
  ready_.notify_all();
}

void AudioQueue::fail(int error) {
  {
    std::lock_guard lock(mutex_);
    error_ = error;
    finished_ = true;
  }
  ready_.notify_all();
}

bool AudioQueue::cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

void AudioQueue::cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    pieces_.clear();
  }
  ready_.notify_all();
}

AudioQueue::Taken AudioQueue::take(Samples& out, std::chrono::milliseconds wait) {
  std::unique_lock lock(mutex_);
  ready_.wait_for(lock, wait, [&] { return !pieces_.empty() || finished_ || cancelled_; });
  Taken taken;
  if (!pieces_.empty()) {
    out = std::move(pieces_.front());
    pieces_.pop_front();
    taken.piece = true;
  }
  if (pieces_.empty() && (finished_ || cancelled_)) {
    // Pieces made before a failure are handed out first; the failure comes after them.
    if (!taken.piece) {
      taken.last = true;
      taken.error = error_;
    } else {
      taken.last = error_ == 0;
    }
  }
  return taken;
}

}  // namespace msc
