// Without a usable engine library: none at all, or one that lacks a function. Kept apart from
// the other speech tests, whose libraries, once loaded, the system's search would find again.
#include "platform/TextCodec.h"
#include "speech/SdkSetUp.h"
#include "speech/SpeechSdk.h"
#include "speech/SpeechState.h"
#include "speech/SynthesisRun.h"
#include "support/FakeEngine.h"
#include "support/FakeSynthesisView.h"
#include "support/RecordingPlayers.h"

#include <gtest/gtest.h>

TEST(SpeechSdkMissing, NoLibraryFailsInitialisationAndEveryLaterBegin)
{
    TempDir empty;
    // A library that lacks QTTSFini counts as none; the search goes on and finds nothing more.
    for (const auto& directories : std::vector<std::vector<std::filesystem::path>>{
             {empty.path()}, {LANGQUE_FAKE_MSC_INCOMPLETE_DIR}, {empty.path(), LANGQUE_FAKE_MSC_INCOMPLETE_DIR}}) {
        SCOPED_TRACE(directories.back().string());
        SpeechSdk sdk;
        SpeechState state;
        FakeSynthesisView view;
        bool filled = false;
        SetUpSpeechSdk(sdk, directories, view, [&] {
            filled = true;
            view.log.push_back("fill");
        });
        EXPECT_FALSE(sdk.loaded());
        EXPECT_TRUE(filled);
        EXPECT_EQ(view.log, (std::vector<std::string>{"fill", "status 初始化失败"}));

        // The window stays usable; a start ends at the session begin.
        RecordingWavPlayer player;
        SynthesisRun run(sdk, state, view, player);
        view.log.clear();
        run.StartSynthesis();
        EXPECT_EQ(view.log, (std::vector<std::string>{"status 启动会话失败，请检查appid是否可用"}));
        EXPECT_TRUE(state.currentSessionId.empty());
        EXPECT_TRUE(player.calls.empty());

        // Closing: no session to end, and the release does nothing.
        EXPECT_EQ(EndSpeechSession(sdk, state), 0);
        ReleaseSpeechSdk(sdk);
        unsigned length = 7;
        int status = 0;
        int error = 0;
        EXPECT_EQ(sdk.audioGet("x", &length, &status, &error), nullptr);
        EXPECT_EQ(length, 0u);
        EXPECT_EQ(error, SpeechSdk::kSdkNotLoaded);
        EXPECT_EQ(sdk.textPut("x", "text"), SpeechSdk::kSdkNotLoaded);
        EXPECT_EQ(sdk.sessionEnd("x", "y"), SpeechSdk::kSdkNotLoaded);
    }
}
