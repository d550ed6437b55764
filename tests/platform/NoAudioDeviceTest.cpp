// Without a sound server the players do nothing, report nothing and never hold up the caller;
// the command strings are still checked as they would be with one.
#include "platform/AudioOutput.h"
#include "platform/MediaCommandInterpreter.h"
#include "platform/QtWavPlayer.h"
#include "platform/TextCodec.h"
#include "support/Mp3Files.h"
#include "support/PulseServer.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

class NoAudioDevice : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // A server address where nothing listens: no device, and no daemon is started for us.
        setenv("PULSE_SERVER", "unix:/nonexistent/langque/pulse", 1);
    }

    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("langque-nodev-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        mp3_ = dir_ / "tmp.mp3";
        ASSERT_TRUE(writeMp3(mp3_, tone::segments({{440, 500}}), tone::kRate));
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    std::filesystem::path mp3_;
};

template <class F>
double millisecondsOf(F&& f)
{
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

TEST_F(NoAudioDevice, PlayersFailQuietlyAndAtOnce)
{
    AudioOutput output;
    QtWavPlayer wav(output);
    MediaCommandInterpreter media(output);
    const std::string image = wavBytes(tone::segments({{440, 1000}}), tone::kRate);

    EXPECT_LT(millisecondsOf([&] { wav.playWavImage(image); }), 50.0);
    EXPECT_EQ(media.sendCommand("open \"" + mp3_.string() + "\" alias 77"), kMediaOk);
    EXPECT_LT(millisecondsOf([&] { EXPECT_EQ(media.sendCommand("play 77"), kMediaOk); }), 50.0);
    ASSERT_TRUE(output.settle(std::chrono::seconds(10)));
    EXPECT_FALSE(output.playing("wav"));
    EXPECT_FALSE(output.playing(MediaCommandInterpreter::channelOf("77")));

    wav.stopWavPlayback();
    EXPECT_EQ(media.sendCommand("close 77"), kMediaOk);
    EXPECT_TRUE(output.settle(std::chrono::seconds(10)));
}

TEST_F(NoAudioDevice, CommandStringsAreCheckedAndAliasesKept)
{
    AudioOutput output;
    MediaCommandInterpreter media(output);
    const std::string file = "\"" + mp3_.string() + "\"";
    struct Step {
        std::string command;
        int expected;
    };
    const std::vector<Step> steps = {
        {"play 77", kMediaUnknownAlias},
        {"close 77", kMediaUnknownAlias},
        {"open \"" + (dir_ / "missing.mp3").string() + "\" alias 77", kMediaFileNotFound},
        {"open " + file + " alias 77", kMediaOk},
        {"open " + file + " alias 77", kMediaDuplicateAlias},
        {"OPEN " + file + " ALIAS Other", kMediaOk}, // words and aliases ignore letter case
        {"play OTHER", kMediaOk},
        {"stop other", kMediaOk},
        {"play 77", kMediaOk},
        {"play 77", kMediaOk}, // playing again starts over
        {"close 77", kMediaOk},
        {"play 77", kMediaUnknownAlias},
        {"open " + file + " alias 77", kMediaOk}, // a closed alias can be opened again
        {"close all", kMediaOk},
        {"play other", kMediaUnknownAlias},
        {"", kMediaUnknownCommand},
        {"seek 77 to start", kMediaUnknownCommand},
        {"open \"unterminated alias 77", kMediaUnknownCommand},
        {"open " + file, kMediaBadArguments},
        {"open " + file + " type mpegvideo alias 77", kMediaBadArguments},
        {"open " + file + " alias all", kMediaBadArguments},
        {"play", kMediaBadArguments},
        {"play 77 wait", kMediaBadArguments}, // this player never waits
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        EXPECT_EQ(media.sendCommand(step.command), step.expected);
    }
    EXPECT_TRUE(output.settle(std::chrono::seconds(10)));
}

TEST_F(NoAudioDevice, PathsWithBlanksAndChineseNamesOpen)
{
    AudioOutput output;
    MediaCommandInterpreter media(output);
    const auto spaced = dir_ / "合成 语音.mp3";
    std::filesystem::copy_file(mp3_, spaced);
    EXPECT_EQ(media.sendCommand(gbk("open \"" + spaced.string() + "\" alias 77")), kMediaOk);
    EXPECT_EQ(media.sendCommand("play 77"), kMediaOk);
    EXPECT_EQ(media.sendCommand("close 77"), kMediaOk);
    EXPECT_TRUE(output.settle(std::chrono::seconds(10)));
}
