#include "platform/TextCodec.h"
#include "speech/SdkSetUp.h"
#include "speech/SpeechSdk.h"
#include "speech/SpeechState.h"
#include "support/FakeEngine.h"
#include "support/FakeSynthesisView.h"

#include <gtest/gtest.h>

#include <regex>

TEST(SdkConfiguration, FivePiecesInOrderWithAnEightCharacterId)
{
    const std::string configuration = SdkConfiguration();
    EXPECT_TRUE(std::regex_match(configuration,
                                 std::regex("server_url=[^,= ]+/index\\.htm,appid=[0-9A-Za-z]{8},timeout=10000,"
                                            "coding_libs=speex\\.dll,max_text_size=2048")))
        << configuration;
}

class SpeechSdkSetUp : public testing::Test {
protected:
    TempDir dir_;
    FakeEngine engine_{dir_};
    SpeechSdk sdk_;
    SpeechState state_;
    FakeSynthesisView view_;

    void TearDown() override { sdk_.fini(); }
};

TEST_F(SpeechSdkSetUp, DirectoriesComeFirstAndTheListsFillBeforeInit)
{
    TempDir empty;
    SetUpSpeechSdk(sdk_, {empty.path(), LANGQUE_FAKE_MSC_DIR}, view_, [this] {
        EXPECT_TRUE(engine_.calls().empty()) << "the engine was initialised before the lists were filled";
        view_.log.push_back("fill");
    });
    EXPECT_EQ(sdk_.libraryFile(), std::filesystem::path(LANGQUE_FAKE_MSC_DIR) / "libmsc.so");
    EXPECT_EQ(view_.log, (std::vector<std::string>{"fill", "status 已成功连接服务器"}));
    EXPECT_EQ(engine_.calls(), (std::vector<std::string>{"init " + SdkConfiguration()}));
}

TEST_F(SpeechSdkSetUp, RefusedInitShowsTheFailureAndIsNotRetried)
{
    FakeEngine::setMode("refuse-init");
    SetUpSpeechSdk(sdk_, {LANGQUE_FAKE_MSC_DIR}, view_, [] {});
    EXPECT_TRUE(sdk_.loaded());
    EXPECT_EQ(view_.log, (std::vector<std::string>{"status 初始化失败"}));
    EXPECT_EQ(engine_.calls().size(), 1u);
}

TEST_F(SpeechSdkSetUp, CloseEndsTheHeldSessionAndReleasesOnlyAfterASuccessfulEnd)
{
    struct Row {
        const char* name;
        bool begin;
        const char* endMode;
        bool released;
    };
    const std::vector<Row> rows = {
        {"never synthesised", false, "ok", true},
        {"after a synthesis", true, "ok", true},
        {"end refused", true, "end-fails", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeEngine::setMode("ok");
        SetUpSpeechSdk(sdk_, {LANGQUE_FAKE_MSC_DIR}, view_, [] {});
        state_.currentSessionId.clear();
        if (row.begin) {
            int error = 0;
            state_.currentSessionId = sdk_.sessionBegin("vcn=xiaoyan", &error);
        }
        const std::string id = state_.currentSessionId;
        FakeEngine::setMode(row.endMode);
        engine_.clear();

        const int ended = EndSpeechSession(sdk_, state_);
        if (ended == 0)
            ReleaseSpeechSdk(sdk_);

        std::vector<std::string> expected;
        if (row.begin)
            expected.push_back("end " + id + " " + gbk("正常关闭"));
        if (row.released)
            expected.push_back("fini");
        EXPECT_EQ(engine_.calls(), expected);
        EXPECT_EQ(ended == 0, row.released);
        EXPECT_EQ(state_.currentSessionId, id) << "the end clears no id";
        sdk_.fini();
    }
}
