#include "speech/WebVoiceRoute.h"

#include "net/HttpRequest.h"
#include "speech/SpeechState.h"
#include "support/FakeSynthesisView.h"
#include "support/RecordingPlayers.h"
#include "support/TempDir.h"

#include <httplib.h>
#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace {

// A translation host on 127.0.0.1 that answers /gettts as the test says and keeps the last request.
class TtsServer {
public:
    std::string contentType = "audio/mpeg";
    std::string body = "ID3\x03 fake mp3 bytes";

    TtsServer()
    {
        server_.Get("/gettts", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard lock(mutex_);
            lastTarget_ = request.target;
            lastHeaders_ = request.headers;
            response.set_content(body, contentType.c_str());
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~TtsServer() { stop(); }
    void stop()
    {
        server_.stop();
        if (thread_.joinable())
            thread_.join();
    }

    std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string target()
    {
        std::lock_guard lock(mutex_);
        return lastTarget_;
    }
    std::string header(const std::string& name)
    {
        std::lock_guard lock(mutex_);
        const auto found = lastHeaders_.find(name);
        return found == lastHeaders_.end() ? "" : found->second;
    }

private:
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::string lastTarget_;
    httplib::Headers lastHeaders_;
};

} // namespace

class WebVoiceRouteTest : public ::testing::Test {
protected:
    WebVoiceRouteTest()
    {
        view.settings.engineType = {3, gbk("多语言语音引擎")};
        view.voices = {{gbk("德语"), "de"}, {gbk("中文"), "zh"}};
        view.settings.voiceIndex = {1, gbk("中文")};
        view.text = gbk("你好 a");
    }
    WebVoiceRoute route(const std::filesystem::path& directory) { return {state, view, media, server.host(), directory}; }
    std::vector<std::string> commands() const
    {
        std::vector<std::string> out;
        for (const auto& command : media.commands)
            out.push_back(utf8(command));
        return out;
    }

    TtsServer server;
    TempDir tmp;
    SpeechState state;
    FakeSynthesisView view;
    RecordingMediaCommands media;
};

TEST_F(WebVoiceRouteTest, SendsTheRequestAndPlaysTheAnswerUnderItsAlias)
{
    WebVoiceRoute web = route(tmp.path());
    web.SynthesizeViaWeb();

    EXPECT_EQ(server.target(), "/gettts?lan=zh&text=%E4%BD%A0%E5%A5%BD%20a&spd=5&source=web");
    EXPECT_EQ(server.header("Connection"), "keep-alive");
    EXPECT_EQ(server.header("Accept-Encoding"), "identity;q=1, *;q=0");
    EXPECT_EQ(server.header("Referer"), "https://" + server.host() + "/");
    EXPECT_EQ(server.header("Accept-Language"), "zh-CN,zh;q=0.8");
    EXPECT_EQ(server.header("Range"), "bytes=0-2015");
    EXPECT_EQ(server.header("User-Agent"), userAgentText(UserAgent::WebVoice));

    EXPECT_EQ(state.webAudio, server.body);
    EXPECT_EQ(TempDir::read(tmp.file("tmp.mp3")), server.body);
    const std::string file = tmp.file("tmp.mp3").string();
    EXPECT_EQ(commands(), (std::vector<std::string>{"close 77", "open \"" + file + "\" alias 77", "play 77"}));
    EXPECT_EQ(view.log, (std::vector<std::string>{"status 正在合成语音,请稍候...", "status 文本已合成..."}));

    // The second press closes the first answer before it asks again; 最慢 is speed 3.
    media.commands.clear();
    view.settings.speed = {0, gbk("最慢")};
    view.text = gbk("第二\r\n/_~");
    web.SynthesizeViaWeb();
    EXPECT_EQ(server.target(), "/gettts?lan=zh&text=%E7%AC%AC%E4%BA%8C%0D%0A%2F%5F%7E&spd=3&source=web");
    ASSERT_FALSE(media.commands.empty());
    EXPECT_EQ(media.commands.front(), "close 77");
}

TEST_F(WebVoiceRouteTest, AnswersThatAreNoSpeechShowTheFailureAndPlayNothing)
{
    struct Row {
        const char* name;
        const char* contentType;
        std::string body;
    };
    const Row rows[] = {
        {"no audio content type", "text/html", "<html>busy</html>"},
        {"an error body", "audio/mpeg", "{\"err_msg\":\"bad text\"}"},
    };
    TempDir::write(tmp.file("tmp.mp3"), "older answer");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        server.contentType = row.contentType;
        server.body = row.body;
        media.commands.clear();
        view.log.clear();
        route(tmp.path()).SynthesizeViaWeb();
        EXPECT_EQ(view.log, (std::vector<std::string>{"status 正在合成语音,请稍候...", "status 文本合成失败，请重新输入..."}));
        EXPECT_EQ(commands(), std::vector<std::string>{"close 77"});
        EXPECT_EQ(state.webAudio, row.body); // kept whatever it holds, for the save button
        EXPECT_EQ(TempDir::read(tmp.file("tmp.mp3")), "older answer");
    }
}

TEST_F(WebVoiceRouteTest, NoServerOrAnUnwritableTemporaryFileIsAFailure)
{
    // The answer arrives but tmp.mp3 cannot be created: a directory under a regular file.
    TempDir::write(tmp.file("plain"), "x");
    route(tmp.file("plain")).SynthesizeViaWeb();
    EXPECT_EQ(view.log.back(), "status 文本合成失败，请重新输入...");
    EXPECT_EQ(commands(), std::vector<std::string>{"close 77"});

    server.stop();
    view.log.clear();
    media.commands.clear();
    const auto started = std::chrono::steady_clock::now();
    route(tmp.path()).SynthesizeViaWeb();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(view.log.back(), "status 文本合成失败，请重新输入...");
    EXPECT_TRUE(state.webAudio.empty());
    EXPECT_EQ(commands(), std::vector<std::string>{"close 77"});
}
