#include "platform/AudioOutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QElapsedTimer>
#include <QMediaDevices>
#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <map>
#include <mutex>
#include <set>

namespace {

// The server's buffer for each sound. Short enough that a stop is heard at once and the sound
// server's latency stays low; long enough to ride out a busy moment of the audio thread.
constexpr int kBufferMs = 400;
// What the sound server may still hold once it reports a sound played; a sink is not released
// before this has passed, or the server drops the end of the sound.
constexpr int kTailMs = kBufferMs + 300;
constexpr int kGiveUpMs = 30000;
constexpr int kPollMs = 100;

QAudioFormat::SampleFormat qtSampleFormat(PcmSound::Sample sample)
{
    switch (sample) {
    case PcmSound::Sample::UInt8: return QAudioFormat::UInt8;
    case PcmSound::Sample::Int16: return QAudioFormat::Int16;
    case PcmSound::Sample::Int32: return QAudioFormat::Int32;
    case PcmSound::Sample::Float: return QAudioFormat::Float;
    }
    return QAudioFormat::Int16;
}

} // namespace

struct AudioOutput::Shared {
    QThread* thread = nullptr;
    Worker* worker = nullptr;

    mutable std::mutex mutex;
    mutable std::condition_variable settled;
    std::uint64_t posted = 0;
    std::uint64_t done = 0;
    std::set<std::string> active;

    void setActive(const std::string& channel, bool on)
    {
        std::lock_guard lock(mutex);
        if (on)
            active.insert(channel);
        else
            active.erase(channel);
    }
};

// Lives on the audio thread and owns every sink.
class AudioOutput::Worker : public QObject {
public:
    explicit Worker(Shared& shared) : shared_(shared) {}

    void start(const std::string& channel, PcmSound sound)
    {
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull())
            return;
        QAudioFormat format;
        format.setSampleRate(sound.sampleRate);
        format.setChannelCount(sound.channels);
        format.setSampleFormat(qtSampleFormat(sound.sample));

        const std::int64_t durationMs = std::min<std::int64_t>(sound.durationMs(), 24 * 3600 * 1000);
        auto* sink = new QAudioSink(device, format, this);
        sink->setBufferSize(format.bytesForDuration(kBufferMs * 1000));
        auto* buffer = new QBuffer(sink);
        buffer->setData(QByteArray(sound.data.data(), qsizetype(sound.data.size())));
        sound.data.clear();
        buffer->open(QIODevice::ReadOnly);
        sink->start(buffer);
        if (sink->state() == QAudio::StoppedState || sink->error() == QAudio::OpenError
            || sink->error() == QAudio::FatalError) {
            sink->deleteLater();
            return;
        }
        voices_[channel] = sink;
        shared_.setActive(channel, true);

        connect(sink, &QAudioSink::stateChanged, this, [this, channel, sink](QAudio::State state) {
            if (state == QAudio::StoppedState && sink->error() != QAudio::NoError)
                release(channel, sink);
        });
        // Released once the server reports the whole sound played, and its own latency has
        // passed too; a server that never gets there is given up on well after the end.
        struct Progress {
            QElapsedTimer sinceStart;
            QElapsedTimer sincePlayed;
        };
        auto progress = std::make_shared<Progress>();
        progress->sinceStart.start();
        auto* done = new QTimer(sink);
        connect(done, &QTimer::timeout, this, [this, channel, sink, buffer, progress, durationMs] {
            const bool played = buffer->atEnd() && sink->processedUSecs() >= durationMs * 1000;
            if (played && !progress->sincePlayed.isValid())
                progress->sincePlayed.start();
            if ((played && progress->sincePlayed.elapsed() >= kTailMs)
                || progress->sinceStart.elapsed() > durationMs + kGiveUpMs)
                release(channel, sink);
        });
        done->start(kPollMs);
    }

    void stop(const std::string& channel)
    {
        const auto found = voices_.find(channel);
        if (found != voices_.end())
            release(channel, found->second);
    }

    void stopAll()
    {
        while (!voices_.empty())
            stop(voices_.begin()->first);
    }

private:
    // The channel by value: callers may pass the key of the entry this erases.
    void release(const std::string channel, QAudioSink* sink)
    {
        const auto found = voices_.find(channel);
        if (found == voices_.end() || found->second != sink)
            return;
        voices_.erase(found);
        shared_.setActive(channel, false);
        sink->disconnect(this);
        sink->stop();
        // Not deleted here: the sink's destructor runs the event loop, which must not happen
        // inside a command.
        sink->deleteLater();
    }

    Shared& shared_;
    std::map<std::string, QAudioSink*> voices_;
};

AudioOutput::AudioOutput() : shared_(std::make_shared<Shared>())
{
    shared_->thread = new QThread;
    shared_->thread->setObjectName(QStringLiteral("audio output"));
    shared_->worker = new Worker(*shared_);
    shared_->worker->moveToThread(shared_->thread);
    shared_->thread->start();
}

AudioOutput::~AudioOutput()
{
    Shared* shared = shared_.get();
    QMetaObject::invokeMethod(shared->worker, [shared] {
        // The stopped sinks are deleted by the thread as it finishes.
        shared->worker->stopAll();
        QThread::currentThread()->quit();
    }, Qt::QueuedConnection);
    if (shared->thread->wait(3000)) {
        delete shared->worker;
        delete shared->thread;
        return;
    }
    // A sound server that never answers holds the thread: leave it and its state behind
    // rather than hang the exit.
    new std::shared_ptr<Shared>(shared_);
}

void AudioOutput::play(const std::string& channel, SoundSource source)
{
    {
        std::lock_guard lock(shared_->mutex);
        ++shared_->posted;
    }
    std::shared_ptr<Shared> shared = shared_;
    QMetaObject::invokeMethod(shared->worker, [shared, channel, source = std::move(source)] {
        shared->worker->stop(channel);
        std::optional<PcmSound> sound = source ? source() : std::nullopt;
        if (sound && !sound->data.empty() && sound->bytesPerFrame() > 0)
            shared->worker->start(channel, std::move(*sound));
        std::lock_guard lock(shared->mutex);
        ++shared->done;
        shared->settled.notify_all();
    }, Qt::QueuedConnection);
}

void AudioOutput::stop(const std::string& channel)
{
    {
        std::lock_guard lock(shared_->mutex);
        ++shared_->posted;
    }
    std::shared_ptr<Shared> shared = shared_;
    QMetaObject::invokeMethod(shared->worker, [shared, channel] {
        shared->worker->stop(channel);
        std::lock_guard lock(shared->mutex);
        ++shared->done;
        shared->settled.notify_all();
    }, Qt::QueuedConnection);
}

bool AudioOutput::playing(const std::string& channel) const
{
    std::lock_guard lock(shared_->mutex);
    return shared_->active.count(channel) != 0;
}

bool AudioOutput::settle(std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(shared_->mutex);
    const std::uint64_t target = shared_->posted;
    return shared_->settled.wait_for(lock, timeout, [&] { return shared_->done >= target; });
}
