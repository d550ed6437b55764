// What the players really send to a sound server: a private PulseAudio daemon with a null sink,
// whose monitor the test records.
#include "platform/AudioOutput.h"
#include "platform/MediaCommandInterpreter.h"
#include "platform/QtWavPlayer.h"
#include "platform/TextCodec.h"
#include "support/Mp3Files.h"
#include "support/PulseServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Start marker, body, end marker: a sound heard whole shows all three at their full length.
constexpr double kStart = 2000;
constexpr double kBody = 500;
constexpr double kEnd = 3000;
const std::vector<std::pair<double, int>> kMarked = {{kStart, 150}, {kBody, 800}, {kEnd, 150}};

class AudioPlayback : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server_ = new PulseServer;
        if (!server_->running())
            return;
        // The monitor of a fresh server reaches the recorder late until this process has
        // played once; a short silence settles it.
        AudioOutput output;
        QtWavPlayer player(output);
        server_->startRecording();
        player.playWavImage(wavBytes(std::vector<short>(3200, 0), tone::kRate));
        output.settle(5s);
        std::this_thread::sleep_for(1000ms);
        server_->stopRecording();
    }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override
    {
        if (!server_->running())
            GTEST_SKIP() << "no PulseAudio daemon could be started here";
        dir_ = std::filesystem::temp_directory_path() / ("langque-play-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        output_ = std::make_unique<AudioOutput>();
    }

    void TearDown() override
    {
        output_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // Waits until the channel has finished, then a little for the server to play out.
    std::vector<short> recordUntilDone(const std::string& channel, std::chrono::milliseconds limit)
    {
        const auto end = std::chrono::steady_clock::now() + limit;
        EXPECT_TRUE(output_->settle(5s));
        while (output_->playing(channel) && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(20ms);
        return server_->stopRecording();
    }

    static void expectWhole(const std::vector<short>& recording)
    {
        // 10 ms blocks; a block that straddles two tones counts for neither.
        EXPECT_GE(tone::blocksWith(recording, kStart), 13) << "start of the sound lost";
        EXPECT_NEAR(tone::blocksWith(recording, kBody), 80, 3);
        EXPECT_GE(tone::blocksWith(recording, kEnd), 13) << "end of the sound lost";
    }

    static PulseServer* server_;
    std::filesystem::path dir_;
    std::unique_ptr<AudioOutput> output_;
};

PulseServer* AudioPlayback::server_ = nullptr;

double millisecondsOf(const std::function<void()>& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST_F(AudioPlayback, WavImageIsHeardWholeFromItsFirstSample)
{
    for (int rate : {16000, 8000}) {
        SCOPED_TRACE(rate);
        QtWavPlayer player(*output_);
        server_->startRecording();
        const std::string image = wavBytes(tone::segments(kMarked, rate), rate);
        EXPECT_LT(millisecondsOf([&] { player.playWavImage(image); }), 20.0);
        expectWhole(recordUntilDone("wav", 10s));
    }
}

TEST_F(AudioPlayback, StopSilencesTheWavAtOnce)
{
    QtWavPlayer player(*output_);
    server_->startRecording();
    player.playWavImage(wavBytes(tone::segments({{kBody, 3000}}), tone::kRate));
    ASSERT_TRUE(output_->settle(5s));
    std::this_thread::sleep_for(500ms);
    EXPECT_LT(millisecondsOf([&] { player.stopWavPlayback(); }), 20.0);
    ASSERT_TRUE(output_->settle(5s));
    EXPECT_FALSE(output_->playing("wav"));
    std::this_thread::sleep_for(1000ms);
    const int heard = tone::blocksWith(server_->stopRecording(), kBody);
    EXPECT_GT(heard, 20);
    EXPECT_LT(heard, 120) << "the sound went on after the stop";
}

TEST_F(AudioPlayback, ANewWavReplacesThePreviousOne)
{
    QtWavPlayer player(*output_);
    server_->startRecording();
    player.playWavImage(wavBytes(tone::segments({{kStart, 3000}}), tone::kRate));
    ASSERT_TRUE(output_->settle(5s));
    std::this_thread::sleep_for(400ms);
    player.playWavImage(wavBytes(tone::segments(kMarked), tone::kRate));
    const auto recording = recordUntilDone("wav", 10s);
    // The first sound stopped where the second began: far less than its 300 blocks.
    EXPECT_LT(tone::blocksWith(recording, kStart), 80);
    EXPECT_NEAR(tone::blocksWith(recording, kBody), 80, 3);
    EXPECT_GE(tone::blocksWith(recording, kEnd), 13);
}

TEST_F(AudioPlayback, Mp3ThroughTheCommandsIsHeardWhole)
{
    const auto file = dir_ / "合成语音 tmp.mp3";
    ASSERT_TRUE(writeMp3(file, tone::segments(kMarked, 44100), 44100));
    MediaCommandInterpreter media(*output_);
    server_->startRecording();
    EXPECT_EQ(media.sendCommand(gbk("open \"" + file.string() + "\" alias 77")), kMediaOk);
    EXPECT_LT(millisecondsOf([&] { EXPECT_EQ(media.sendCommand("play 77"), kMediaOk); }), 20.0);
    const auto recording = recordUntilDone(MediaCommandInterpreter::channelOf("77"), 10s);
    expectWhole(recording);
    EXPECT_EQ(media.sendCommand("close 77"), kMediaOk);
}

TEST_F(AudioPlayback, CloseSilencesTheAlias)
{
    const auto file = dir_ / "long.mp3";
    ASSERT_TRUE(writeMp3(file, tone::segments({{kBody, 3000}}, 44100), 44100));
    MediaCommandInterpreter media(*output_);
    server_->startRecording();
    ASSERT_EQ(media.sendCommand("open \"" + file.string() + "\" alias 77"), kMediaOk);
    ASSERT_EQ(media.sendCommand("play 77"), kMediaOk);
    ASSERT_TRUE(output_->settle(5s));
    std::this_thread::sleep_for(500ms);
    ASSERT_EQ(media.sendCommand("close 77"), kMediaOk);
    ASSERT_TRUE(output_->settle(5s));
    std::this_thread::sleep_for(1000ms);
    const int heard = tone::blocksWith(server_->stopRecording(), kBody);
    EXPECT_GT(heard, 20);
    EXPECT_LT(heard, 120);
}

TEST_F(AudioPlayback, WavAndMp3SoundTogether)
{
    const auto file = dir_ / "web.mp3";
    ASSERT_TRUE(writeMp3(file, tone::segments({{kEnd, 1500}}, 44100), 44100));
    QtWavPlayer player(*output_);
    MediaCommandInterpreter media(*output_);
    server_->startRecording();
    player.playWavImage(wavBytes(tone::segments({{kBody, 1500}}), tone::kRate));
    ASSERT_EQ(media.sendCommand("open \"" + file.string() + "\" alias 77"), kMediaOk);
    ASSERT_EQ(media.sendCommand("play 77"), kMediaOk);
    ASSERT_TRUE(output_->settle(5s));
    EXPECT_TRUE(output_->playing("wav"));
    EXPECT_TRUE(output_->playing(MediaCommandInterpreter::channelOf("77")));
    std::this_thread::sleep_for(2000ms);
    const auto recording = server_->stopRecording();

    int both = 0;
    for (std::size_t at = 0; at + tone::kBlock <= recording.size(); at += tone::kBlock) {
        if (tone::share(&recording[at], tone::kBlock, kBody) > 0.2 && tone::share(&recording[at], tone::kBlock, kEnd) > 0.2)
            ++both;
    }
    EXPECT_GT(both, 100) << "the two players did not sound at the same time";
    EXPECT_EQ(media.sendCommand("close 77"), kMediaOk);
}
