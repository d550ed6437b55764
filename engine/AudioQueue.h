#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

namespace msc {

// The pieces of one text's audio, from the synthesis worker to the session
// that collects them. Safe between one producer and any consumers.
class AudioQueue {
 public:
  using Samples = std::vector<std::int16_t>;

  struct Taken {
    bool piece = false;  // out holds the next piece
    bool last = false;   // nothing will follow
    int error = 0;       // the producer failed (MscError), with last set
  };

  // Producer side. A piece pushed as last also finishes the queue.
  void push(Samples piece, bool last = false);
  void finish();
  void fail(int error);
  bool cancelled() const;

  // Consumer side: the next piece, waiting at most wait for one.
  Taken take(Samples& out, std::chrono::milliseconds wait);
  void cancel();  // the consumer is gone; the producer should stop

 private:
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<Samples> pieces_;
  bool finished_ = false;
  int error_ = 0;
  bool cancelled_ = false;
};

}  // namespace msc
