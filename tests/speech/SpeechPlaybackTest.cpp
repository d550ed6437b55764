#include "platform/TextCodec.h"
#include "speech/SpeechPlayback.h"
#include "speech/SpeechState.h"
#include "support/FakeDialogs.h"
#include "support/FakeSynthesisView.h"
#include "support/RecordingPlayers.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using Steps = std::vector<std::string>;

class SpeechPlaybackTest : public testing::Test {
protected:
    void chooseEngine(int index) { view_.settings.engineType = {index, "engine"}; }
    std::string shown() const { return dialogs_.messages.empty() ? "" : dialogs_.messages.back().text; }

    TempDir dir_;
    SpeechState state_;
    FakeSynthesisView view_;
    RecordingWavPlayer player_;
    RecordingMediaCommands media_;
    FakeDialogs dialogs_;
    SpeechPlayback playback_{state_, view_, player_, media_, dialogs_, dir_.path()};
};

} // namespace

TEST_F(SpeechPlaybackTest, MediaFilesOpenAndCloseByAlias)
{
    const std::string path = gbk("/tmp/合成 tmp.mp3");
    EXPECT_TRUE(PlayMediaFile(media_, path, kWebMediaAlias));
    EXPECT_TRUE(CloseMedia(media_, kWebMediaAlias));
    EXPECT_EQ(media_.commands, (Steps{"open \"" + path + "\" alias 77", "play 77", "close 77"}));
    media_.answer = kMediaUnknownAlias;
    EXPECT_FALSE(PlayMediaFile(media_, path, kWebMediaAlias));
    EXPECT_FALSE(CloseMedia(media_, kWebMediaAlias));
}

TEST_F(SpeechPlaybackTest, StopSilencesTheWavAndUnderMultiLanguageTheMp3)
{
    for (int engine : {0, 1, 2, 3}) {
        SCOPED_TRACE(engine);
        chooseEngine(engine);
        player_.calls.clear();
        media_.commands.clear();
        playback_.StopPlayback();
        EXPECT_EQ(player_.calls, (Steps{"stop"}));
        EXPECT_EQ(media_.commands, engine == 3 ? Steps{"close 77"} : Steps{});
    }
}

TEST_F(SpeechPlaybackTest, NothingToSaveShowsTheMessageAndNoDialog)
{
    state_.exportAudio = "RIFF-wav";
    struct Row {
        int engine;
        std::string exportAudio;
        std::string webAudio;
    };
    // Under multi-language only the web result counts, and the WAV is not lost by the refusal.
    for (const Row& row : std::vector<Row>{{0, "", ""}, {2, "", "mp3"}, {3, "", ""}, {3, "RIFF-wav", ""}}) {
        SCOPED_TRACE(row.engine);
        chooseEngine(row.engine);
        state_.exportAudio = row.exportAudio;
        state_.webAudio = row.webAudio;
        dialogs_.messages.clear();
        playback_.ExportSpeech();
        EXPECT_EQ(shown(), "请先合成语音再进行导出！");
        EXPECT_TRUE(dialogs_.fileRequests.empty());
        EXPECT_EQ(state_.exportAudio, row.exportAudio);
    }
}

TEST_F(SpeechPlaybackTest, SaveWritesTheResultOfTheSelectedEngineTypeUnderItsName)
{
    state_.exportAudio = std::string("RIFF\0wav-bytes", 14);
    state_.webAudio = std::string("ID3\0mp3-bytes", 13);
    struct Row {
        int engine;
        const char* name;
        const char* filter;
        std::string written;
    };
    const std::vector<Row> rows = {
        {3, "合成语音.mp3", "文本文档(*.mp3)|*.mp3", state_.webAudio},
        // After a multi-language save the WAV is still the WAV.
        {0, "合成语音.wav", "文本文档(*.wav)|*.wav", state_.exportAudio},
        {1, "合成语音.wav", "文本文档(*.wav)|*.wav", state_.exportAudio},
        {3, "合成语音.mp3", "文本文档(*.mp3)|*.mp3", state_.webAudio},
    };
    int n = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        chooseEngine(row.engine);
        const auto target = dir_.file(std::to_string(n++) + " 合成语音");
        TempDir::write(target, std::string(5000, 'x')); // an existing file is emptied first
        dialogs_.fileAnswers.push_back(target);
        playback_.ExportSpeech();

        ASSERT_FALSE(dialogs_.fileRequests.empty());
        const FileDialogRequest& request = dialogs_.fileRequests.back();
        EXPECT_TRUE(request.save);
        EXPECT_EQ(utf8(request.fileName), row.name);
        EXPECT_EQ(utf8(request.filter), row.filter);
        EXPECT_EQ(request.directory, dir_.path());
        EXPECT_EQ(TempDir::read(target), row.written);
        EXPECT_EQ(shown(), "导出成功:" + target.string());
    }
    EXPECT_EQ(state_.exportAudio, std::string("RIFF\0wav-bytes", 14));
}

TEST_F(SpeechPlaybackTest, AFailedWebBodyIsStillSavedAsTheMp3)
{
    chooseEngine(3);
    state_.webAudio = "{\"err_msg\":\"busy\"}";
    dialogs_.fileAnswers.push_back(dir_.file("web.mp3"));
    playback_.ExportSpeech();
    EXPECT_EQ(TempDir::read(dir_.file("web.mp3")), state_.webAudio);
}

TEST_F(SpeechPlaybackTest, CancelSavesNothingAndSaysNothing)
{
    state_.exportAudio = "wav";
    playback_.ExportSpeech(); // the fake answers with cancel
    EXPECT_EQ(dialogs_.fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path()));
}

TEST_F(SpeechPlaybackTest, AFileThatCannotBeWrittenIsReportedAsAFailure)
{
    state_.exportAudio = std::string(100000, 'w');
    const std::vector<std::filesystem::path> targets = {
        dir_.file("no such folder") / "合成语音.wav", // cannot be created
        dir_.path(),                                   // a directory
        "/dev/full",                                   // created, but the bytes do not fit
    };
    for (const auto& target : targets) {
        SCOPED_TRACE(target.string());
        dialogs_.fileAnswers.push_back(target);
        playback_.ExportSpeech();
        EXPECT_EQ(shown(), "导出失败:" + target.string());
    }
}
