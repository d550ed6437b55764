// The synthesis run against the real engine library and espeak-ng.
#include "platform/TextCodec.h"
#include "speech/SpeechSynthesis.h"
#include "speech/SpeechState.h"
#include "support/FakeDialogs.h"
#include "support/FakeSynthesisView.h"
#include "support/RecordingPlayers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#ifdef LANGQUE_MSC_DIR

namespace {

using Steps = std::vector<std::string>;

std::uint32_t le32(const std::string& b, std::size_t at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8
        | std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

double rms(const std::string& wav)
{
    double total = 0;
    const std::size_t samples = (wav.size() - 44) / 2;
    for (std::size_t i = 0; i < samples; ++i) {
        const auto s = std::int16_t(std::uint8_t(wav[44 + 2 * i]) | std::uint8_t(wav[45 + 2 * i]) << 8);
        total += double(s) * s;
    }
    return samples ? std::sqrt(total / double(samples)) : 0;
}

// A well-formed 16-bit mono WAV whose sizes match its length.
void expectWav(const std::string& wav, std::uint32_t rate)
{
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wav, 24), rate);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(le32(wav, 40), wav.size() - 44);
    EXPECT_EQ(wav.size() % 2, 0u);
}

class RealEngineRun : public testing::Test {
protected:
    void SetUp() override
    {
        SpeechSynthesis::Options options;
        options.libraryDirectories = {LANGQUE_MSC_DIR};
        options.runDirectory = dir_.path();
        speech_ = std::make_unique<SpeechSynthesis>(state_, view_, player_, media_, dialogs_, options);
        speech_->SetUpSpeechSdk([] {});
        ASSERT_EQ(view_.log, (Steps{"status 已成功连接服务器"}));
        view_.log.clear();
    }
    void TearDown() override { speech_->ShutDown(); }

    TempDir dir_;
    SpeechState state_;
    FakeSynthesisView view_;
    RecordingWavPlayer player_;
    RecordingMediaCommands media_;
    FakeDialogs dialogs_;
    std::unique_ptr<SpeechSynthesis> speech_;
};

} // namespace

TEST_F(RealEngineRun, ChineseTextBecomesAPlayedAndKeptWav)
{
    view_.text = gbk("你好，世界");
    speech_->StartSynthesis();

    EXPECT_EQ(view_.steps(), (Steps{"busy", "status 成功发送转换文本,等待返回结果中...", "status 正在合成语音,请稍候...",
                                    "idle", "status 语音已合成"}));
    expectWav(state_.exportAudio, 16000);
    // About a second of speech, clearly above silence.
    EXPECT_GT(state_.exportAudio.size(), 44u + 16000);
    EXPECT_GT(rms(state_.exportAudio), 300.0);
    EXPECT_EQ(player_.calls, (Steps{"stop", "play " + std::to_string(state_.exportAudio.size())}));
    EXPECT_EQ(player_.lastImage, state_.exportAudio);
}

TEST_F(RealEngineRun, EightThousandHertzGivesAboutHalfTheBytes)
{
    view_.text = gbk("今天天气很好");
    speech_->StartSynthesis();
    const std::string at16000 = state_.exportAudio;
    view_.settings.audioFormat = {0, "audio/L16;rate=8000"};
    speech_->StartSynthesis();
    expectWav(state_.exportAudio, 8000);
    const double ratio = double(state_.exportAudio.size() - 44) / double(at16000.size() - 44);
    EXPECT_NEAR(ratio, 0.5, 0.05);
}

TEST_F(RealEngineRun, TheSecondRunEndsTheFirstSession)
{
    speech_->StartSynthesis();
    const std::string first = state_.currentSessionId;
    ASSERT_FALSE(first.empty());
    speech_->StartSynthesis();
    EXPECT_NE(state_.currentSessionId, first);
    EXPECT_EQ(view_.steps().back(), "status 语音已合成");
    // The first id is unknown to the engine now.
    unsigned length = 0;
    int status = 0;
    int error = 0;
    speech_->sdk().audioGet(first, &length, &status, &error);
    EXPECT_NE(error, 0);
}

TEST_F(RealEngineRun, SpacesOnlyAreRefusedAndLineBreaksOnlyAreSent)
{
    view_.text = gbk(" 　 ");
    speech_->StartSynthesis();
    EXPECT_EQ(view_.log, (Steps{"focus", "status 请输入要合成语音的文本"}));
    EXPECT_TRUE(state_.currentSessionId.empty());

    view_.log.clear();
    view_.text = "\r\n\r\n";
    speech_->StartSynthesis();
    EXPECT_FALSE(state_.currentSessionId.empty());
    EXPECT_EQ(view_.steps().front(), "busy");
    EXPECT_EQ(view_.steps().back(), "status 语音已合成");
    expectWav(state_.exportAudio, 16000);
}

TEST_F(RealEngineRun, EveryVoiceOfTheChoiceListsSpeaks)
{
    view_.text = gbk("你好 hello");
    for (std::size_t voice = 0; voice < view_.voices.size(); ++voice) {
        SCOPED_TRACE(view_.voices[voice].voiceCode);
        view_.settings.voiceIndex = {int(voice), view_.voices[voice].displayText};
        view_.log.clear();
        speech_->StartSynthesis();
        EXPECT_EQ(view_.steps().back(), "status 语音已合成");
        EXPECT_GT(rms(state_.exportAudio), 300.0);
    }
}

#else

TEST(RealEngineRun, NeedsTheEngineLibrary)
{
    GTEST_SKIP() << "the engine library is not part of this build";
}

#endif
