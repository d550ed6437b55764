// The synthesis run against the stand-in engine library, which can refuse or break each step
// and records every call.
#include "platform/TextCodec.h"
#include "speech/SpeechSynthesis.h"
#include "speech/SpeechState.h"
#include "speech/WavWriter.h"
#include "support/FakeDialogs.h"
#include "support/FakeEngine.h"
#include "support/FakeSynthesisView.h"
#include "support/RecordingPlayers.h"

#include <gtest/gtest.h>

namespace {

using Steps = std::vector<std::string>;

const std::string kDefaultParams =
    "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad";

class SynthesisRunTest : public testing::Test {
protected:
    SynthesisRunTest() { speech_ = makeSpeech({}); }

    std::unique_ptr<SpeechSynthesis> makeSpeech(SynthesisRun::Limits limits)
    {
        SpeechSynthesis::Options options;
        options.libraryDirectories = {LANGQUE_FAKE_MSC_DIR};
        options.runDirectory = dir_.path();
        options.limits = limits;
        auto speech = std::make_unique<SpeechSynthesis>(state_, view_, player_, media_, dialogs_, options);
        speech->SetUpSpeechSdk([] {});
        view_.log.clear();
        engine_.clear();
        return speech;
    }

    void TearDown() override { speech_->sdk().fini(); }

    static std::string threePieces() { return FakeEngine::piece(0) + FakeEngine::piece(1) + FakeEngine::piece(2); }

    TempDir dir_;
    FakeEngine engine_{dir_};
    SpeechState state_;
    FakeSynthesisView view_;
    RecordingWavPlayer player_;
    RecordingMediaCommands media_;
    FakeDialogs dialogs_;
    std::unique_ptr<SpeechSynthesis> speech_;
};

} // namespace

TEST_F(SynthesisRunTest, AWholeRunPutsTheTextCollectsEveryPieceAndPlaysTheWav)
{
    view_.text = gbk("你好，世界 a b");
    speech_->StartSynthesis();

    EXPECT_EQ(view_.steps(), (Steps{"busy", "status 成功发送转换文本,等待返回结果中...", "status 正在合成语音,请稍候...",
                                    "idle", "status 语音已合成"}));
    // One event pass per piece, none for the empty poll.
    EXPECT_EQ(std::count(view_.log.begin(), view_.log.end(), "events"), 3);
    const std::string wav = BuildWav(threePieces(), view_.settings.audioFormat);
    EXPECT_EQ(state_.exportAudio, wav);
    EXPECT_EQ(player_.calls, (Steps{"stop", "play 3044"}));
    EXPECT_EQ(player_.lastImage, wav);
    EXPECT_EQ(state_.currentSessionId, "fake-1");
    // The whole text, spaces included, with its byte count and empty parameters.
    EXPECT_EQ(engine_.callsButPolls(),
              (Steps{"begin " + kDefaultParams,
                     "textput fake-1 " + std::to_string(view_.text.size()) + " " + FakeEngine::hex(view_.text) + " params="}));
    EXPECT_EQ(engine_.polls(), 4);
    EXPECT_FALSE(view_.busy);
}

TEST_F(SynthesisRunTest, TheRateOfTheWavFollowsTheAudioFormat)
{
    view_.settings.audioFormat = {0, "audio/L16;rate=8000"};
    speech_->StartSynthesis();
    EXPECT_EQ(state_.exportAudio, BuildWav(threePieces(), view_.settings.audioFormat));
    EXPECT_EQ(state_.exportAudio.substr(24, 4), std::string("\x40\x1f\0\0", 4));
}

TEST_F(SynthesisRunTest, BlankTextIsRefusedWithFocusInTheBox)
{
    for (const std::string& text : {std::string(), std::string("   "), gbk("　　"), gbk(" 　 　")}) {
        SCOPED_TRACE(FakeEngine::hex(text));
        view_.log.clear();
        view_.text = text;
        speech_->StartSynthesis();
        EXPECT_EQ(view_.log, (Steps{"focus", "status 请输入要合成语音的文本"}));
    }
    EXPECT_TRUE(engine_.calls().empty());
    EXPECT_TRUE(state_.exportAudio.empty());
}

TEST_F(SynthesisRunTest, LineBreaksAndOtherNonBlankTextsAreSentUnchanged)
{
    // "、" is A1 A2: its lead byte A1 must not pair with the trail of the character before.
    for (const std::string& text : {std::string("\r\n"), std::string("\n\n"), gbk("　a　"), gbk("啊、"), std::string("\t")}) {
        SCOPED_TRACE(FakeEngine::hex(text));
        engine_.clear();
        view_.text = text;
        speech_->StartSynthesis();
        const auto calls = engine_.callsButPolls();
        ASSERT_GE(calls.size(), 2u);
        EXPECT_NE(calls.back().find(" " + std::to_string(text.size()) + " " + FakeEngine::hex(text) + " "), std::string::npos)
            << calls.back();
        EXPECT_EQ(view_.steps().back(), "status 语音已合成");
    }
}

TEST_F(SynthesisRunTest, IncompleteSettingsAreRefusedBeforeAnyRoute)
{
    bool webRouteRan = false;
    speech_->setWebRoute([&] { webRouteRan = true; });
    const std::vector<std::pair<const char*, std::function<void(FakeSynthesisView&)>>> rows = {
        {"no voice", [](FakeSynthesisView& v) { v.settings.voiceIndex = {-1, ""}; }},
        {"no compression level", [](FakeSynthesisView& v) { v.settings.compressionLevel = {-1, ""}; }},
        {"no speed", [](FakeSynthesisView& v) { v.settings.speed = {-1, ""}; }},
        {"no volume", [](FakeSynthesisView& v) { v.settings.volume = {-1, ""}; }},
        {"no text type", [](FakeSynthesisView& v) { v.settings.textType = {-1, ""}; }},
        // The web route does not use a compression level and is refused without one all the same.
        {"multi-language without compression level", [](FakeSynthesisView& v) {
             v.settings.engineType = {3, gbk("多语言语音引擎")};
             v.settings.compressionLevel = {-1, ""};
         }},
    };
    for (const auto& [name, change] : rows) {
        SCOPED_TRACE(name);
        FakeSynthesisView fresh;
        view_.settings = fresh.settings;
        view_.log.clear();
        change(view_);
        speech_->StartSynthesis();
        EXPECT_EQ(view_.log, (Steps{"status 请将合成参数设置完整!"}));
    }
    EXPECT_FALSE(webRouteRan);
    EXPECT_TRUE(engine_.calls().empty());
}

TEST_F(SynthesisRunTest, MultiLanguageGoesToTheWebRouteAndLeavesTheEngineAlone)
{
    speech_->StartSynthesis(); // a held session, which the web route must not end
    engine_.clear();
    view_.log.clear();
    view_.settings.engineType = {3, gbk("多语言语音引擎")};

    // Until a route is attached, the route's failure text.
    speech_->StartSynthesis();
    EXPECT_EQ(view_.log, (Steps{"status 文本合成失败，请重新输入..."}));

    int routed = 0;
    speech_->setWebRoute([&] { ++routed; });
    view_.log.clear();
    speech_->StartSynthesis();
    EXPECT_EQ(routed, 1);
    EXPECT_TRUE(view_.log.empty()) << "the button was touched";
    EXPECT_TRUE(engine_.calls().empty());
    EXPECT_EQ(state_.currentSessionId, "fake-1");
}

TEST_F(SynthesisRunTest, TheSecondRunEndsTheFirstSessionBeforeItsBegin)
{
    speech_->StartSynthesis();
    engine_.clear();
    speech_->StartSynthesis();
    const auto calls = engine_.callsButPolls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0], "end fake-1 " + gbk("正常关闭"));
    EXPECT_EQ(calls[1], "begin " + kDefaultParams);
    EXPECT_EQ(state_.currentSessionId, "fake-2");
}

TEST_F(SynthesisRunTest, ARefusedBeginLeavesNoSessionAndTheButtonIdle)
{
    for (const char* mode : {"refuse-begin", "empty-id"}) {
        SCOPED_TRACE(mode);
        state_.exportAudio = "old";
        FakeEngine::setMode(mode);
        view_.log.clear();
        speech_->StartSynthesis();
        EXPECT_EQ(view_.log, (Steps{"status 启动会话失败，请检查appid是否可用"}));
        EXPECT_TRUE(state_.currentSessionId.empty());
        EXPECT_EQ(state_.exportAudio, "old");

        // The next run has nothing to end before its own begin.
        FakeEngine::setMode("ok");
        engine_.clear();
        speech_->StartSynthesis();
        ASSERT_FALSE(engine_.calls().empty());
        EXPECT_EQ(engine_.calls().front().rfind("begin ", 0), 0u);
        EXPECT_EQ(view_.steps().back(), "status 语音已合成");

        // A session is held again for the next row.
        FakeEngine::setMode(mode);
        speech_->StartSynthesis();
    }
}

TEST_F(SynthesisRunTest, FailuresAfterTheBeginReturnTheButtonAndKeepTheOldResult)
{
    struct Row {
        const char* mode;
        Steps steps;
    };
    const std::vector<Row> rows = {
        {"refuse-text", {"busy", "status 发送转换文本失败", "idle"}},
        {"error-mid-run",
         {"busy", "status 成功发送转换文本,等待返回结果中...", "status 正在合成语音,请稍候...", "status 合成失败，请重试", "idle"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mode);
        state_.exportAudio = "old";
        player_.calls.clear();
        view_.log.clear();
        FakeEngine::setMode(row.mode);
        speech_->StartSynthesis();
        EXPECT_EQ(view_.steps(), row.steps);
        EXPECT_FALSE(view_.busy);
        EXPECT_EQ(state_.exportAudio, "old");
        EXPECT_TRUE(player_.calls.empty());
        // The session stays held, for the next run or the close to end.
        EXPECT_FALSE(state_.currentSessionId.empty());
    }
}

TEST_F(SynthesisRunTest, AnEngineThatNeverEndsFailsAfterTheWaitWithoutSpinning)
{
    speech_ = makeSpeech({std::chrono::milliseconds(300), std::chrono::milliseconds(2), std::size_t(64) << 20});
    state_.exportAudio = "old";
    FakeEngine::setMode("never-end");
    const auto start = std::chrono::steady_clock::now();
    speech_->StartSynthesis();
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(view_.steps(), (Steps{"busy", "status 成功发送转换文本,等待返回结果中...", "status 正在合成语音,请稍候...",
                                    "status 合成失败，请重试", "idle"}));
    EXPECT_EQ(state_.exportAudio, "old");
    EXPECT_GE(took, std::chrono::milliseconds(300));
    EXPECT_LT(took, std::chrono::seconds(5));
    // 300 ms at one poll per 2 ms or more; a loop without a pause makes thousands.
    EXPECT_LT(engine_.polls(), 200);
}

TEST_F(SynthesisRunTest, AnEngineThatNeverStopsDeliveringFailsAtTheAudioLimit)
{
    speech_ = makeSpeech({std::chrono::milliseconds(60000), std::chrono::milliseconds(2), 20000});
    FakeEngine::setMode("endless");
    speech_->StartSynthesis();
    EXPECT_EQ(view_.steps().back(), "idle");
    EXPECT_EQ(view_.steps()[view_.steps().size() - 2], "status 合成失败，请重试");
    EXPECT_TRUE(state_.exportAudio.empty());
    EXPECT_LE(engine_.polls(), 22);
}

TEST_F(SynthesisRunTest, ClosingDuringARunStopsTheLoopBeforeTheSessionEndsAndTheEngineIsReleased)
{
    state_.exportAudio = "old";
    FakeEngine::setMode("never-end");
    std::size_t logAtClose = 0;
    view_.duringEvents = [&] {
        EXPECT_TRUE(speech_->run().running());
        speech_->ShutDown();
        logAtClose = view_.log.size();
    };
    speech_->StartSynthesis();

    EXPECT_FALSE(speech_->run().running());
    EXPECT_EQ(view_.log.size(), logAtClose) << "the view was touched after the close";
    EXPECT_EQ(state_.exportAudio, "old");
    EXPECT_TRUE(player_.calls.empty());
    const auto calls = engine_.calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "end fake-1 " + gbk("正常关闭"));
    EXPECT_EQ(calls.back(), "fini") << "the engine was called after its release";

    // A new run after such a stop is not mistaken for a stopped one.
    view_.duringEvents = nullptr;
    FakeEngine::setMode("ok");
    speech_->SetUpSpeechSdk([] {});
    speech_->StartSynthesis();
    EXPECT_EQ(view_.steps().back(), "status 语音已合成");
}

TEST_F(SynthesisRunTest, EventsDuringARunMayUseTheOtherButtons)
{
    state_.exportAudio = "previous";
    dialogs_.fileAnswers.push_back(dir_.file("saved.wav"));
    int clicks = 0;
    view_.duringEvents = [&] {
        if (clicks++ == 0) {
            speech_->StartSynthesis(); // a click that slipped past the disabled button
            speech_->StopPlayback();
            speech_->ExportSpeech();
        }
    };
    speech_->StartSynthesis();
    EXPECT_EQ(TempDir::read(dir_.file("saved.wav")), "previous") << "a save during a run writes the previous result";
    EXPECT_EQ(engine_.callsButPolls().size(), 2u) << "a second run started inside the first";
    EXPECT_EQ(player_.calls, (Steps{"stop", "stop", "play 3044"}));
    EXPECT_EQ(view_.steps().back(), "status 语音已合成");
}
