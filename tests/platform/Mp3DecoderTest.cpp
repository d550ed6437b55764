#include "platform/Mp3Decoder.h"
#include "support/Mp3Files.h"
#include "support/PulseServer.h"

#include <gtest/gtest.h>

namespace {

class Mp3DecoderTest : public testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("langque-mp3-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
};

} // namespace

TEST_F(Mp3DecoderTest, DecodesTheWholeFileAtItsOwnRate)
{
    for (int rate : {16000, 44100}) {
        SCOPED_TRACE(rate);
        const auto file = dir_ / ("tone" + std::to_string(rate) + ".mp3");
        ASSERT_TRUE(writeMp3(file, tone::segments({{440, 1000}}, rate), rate));
        const auto sound = DecodeMp3File(file);
        ASSERT_TRUE(sound.has_value());
        EXPECT_EQ(sound->sampleRate, rate);
        EXPECT_EQ(sound->channels, 1);
        EXPECT_EQ(sound->sample, PcmSound::Sample::Int16);
        // The encoder's delay and padding are removed by the decoder, within a frame.
        EXPECT_NEAR(double(sound->durationMs()), 1000.0, 60.0);
    }
}

TEST_F(Mp3DecoderTest, BoundsThePcmItKeeps)
{
    const auto file = dir_ / "long.mp3";
    ASSERT_TRUE(writeMp3(file, tone::segments({{440, 2000}}, 16000), 16000));
    const auto sound = DecodeMp3File(file, 10001);
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->data.size(), 10000u);
}

TEST_F(Mp3DecoderTest, RefusesFilesWithoutMpegAudio)
{
    std::ofstream(dir_ / "text.mp3") << "this is no audio at all";
    std::ofstream(dir_ / "empty.mp3");
    for (const char* name : {"text.mp3", "empty.mp3", "missing.mp3"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(DecodeMp3File(dir_ / name).has_value());
    }
}
