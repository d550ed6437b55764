// Time from "开始合成" to a complete exportAudio for 2048 bytes of Chinese text, next to the
// engine's own time for the same text through the same six functions, and peak memory.
//   speech_bench [rounds]
#include "platform/AudioOutput.h"
#include "platform/Dialogs.h"
#include "platform/MediaCommands.h"
#include "platform/QtWavPlayer.h"
#include "platform/TextCodec.h"
#include "speech/SessionParameters.h"
#include "speech/SpeechState.h"
#include "speech/SpeechSynthesis.h"
#include "speech/SynthesisView.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

class BenchView final : public SynthesisView {
public:
    std::string text;
    SynthesisSettings settings;
    std::vector<VoiceEntry> voices{{gbk("小燕(青年女声)"), "xiaoyan"}};

    BenchView()
    {
        settings.engineType = {0, ""};
        settings.voiceIndex = {0, ""};
        settings.speed = {2, ""};
        settings.volume = {2, ""};
        settings.textType = {0, ""};
        settings.textEncoding = {1, "GB2312"};
        settings.numberReading = {0, ""};
        settings.backgroundSound = {0, ""};
        settings.audioEncoding = {5, "speex"};
        settings.compressionLevel = {7, "7"};
        settings.audioFormat = {1, "audio/L16;rate=16000"};
    }
    std::string synthesisText() const override { return text; }
    void focusSynthesisText() override {}
    SynthesisSettings currentSettings() const override { return settings; }
    const std::vector<VoiceEntry>& voiceList() const override { return voices; }
    void setStatusText(const std::string&) override {}
    void setSynthesisBusy(bool) override {}
    void processPendingEvents() override
    {
        const auto start = Clock::now();
        QApplication::processEvents();
        eventTime += Clock::now() - start;
        ++eventPasses;
    }
    Clock::duration eventTime{};
    int eventPasses = 0;
};

class NoDialogs final : public Dialogs {
public:
    void showMessage(const std::string&, const std::string&) override {}
    bool askQuestion(const std::string&, const std::string&) override { return false; }
    std::optional<std::filesystem::path> chooseFile(const FileDialogRequest&) override { return std::nullopt; }
};

class NoMedia final : public MediaCommands {
public:
    int sendCommand(std::string_view) override { return 0; }
};

// 1024 Chinese characters (2048 GBK bytes) of ordinary prose with punctuation.
std::string chineseText()
{
    const std::string paragraph = gbk("今天天气很好，我们一起去公园散步。春天来了，花儿都开了，小鸟在树上唱歌。"
                                      "人们在湖边聊天，孩子们在草地上奔跑，老人们坐在长椅上晒太阳。");
    std::string text;
    while (text.size() + paragraph.size() <= 2048)
        text += paragraph;
    for (std::size_t at = 0; text.size() < 2048; at += 2)
        text += paragraph.substr(at, 2);
    return text;
}

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The engine alone: begin, put, collect in a tight loop, end.
double engineRun(SpeechSdk& sdk, const std::string& params, const std::string& text, std::size_t& bytes)
{
    const auto start = Clock::now();
    int error = 0;
    const char* id = sdk.sessionBegin(params, &error);
    const std::string session = id ? id : "";
    sdk.textPut(session, text);
    int status = 0;
    bytes = 0;
    std::string audio;
    while (status != 2) {
        unsigned length = 0;
        error = 0;
        const void* piece = sdk.audioGet(session, &length, &status, &error);
        if (error != 0)
            break;
        if (piece && length)
            audio.append(static_cast<const char*>(piece), length);
    }
    bytes = audio.size();
    const auto took = Clock::now() - start;
    sdk.sessionEnd(session, "");
    return ms(took);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    BenchView view;
    view.text = chineseText();
    SpeechState state;
    AudioOutput output;
    QtWavPlayer player(output);
    NoMedia media;
    NoDialogs dialogs;
    SpeechSynthesis::Options options;
    options.libraryDirectories = {LANGQUE_MSC_DIR};
    SpeechSynthesis speech(state, view, player, media, dialogs, options);
    const long baseKiB = peakKiB();
    speech.SetUpSpeechSdk([] {});
    if (!speech.sdk().loaded()) {
        std::fprintf(stderr, "no engine library in %s\n", LANGQUE_MSC_DIR);
        return 1;
    }
    const std::string params = *BuildSessionParameters(view.settings, view.voices);

    std::vector<double> engineTimes;
    std::vector<double> runTimes;
    std::size_t engineBytes = 0;
    // Alternating which goes first evens out the machine's drift between the two.
    for (int round = 0; round < rounds; ++round) {
        auto timeRun = [&] {
            state.exportAudio.clear();
            const auto start = Clock::now();
            speech.StartSynthesis();
            runTimes.push_back(ms(Clock::now() - start));
            // Let the player take its copy before the next measurement.
            output.settle(std::chrono::seconds(5));
        };
        if (round % 2)
            timeRun();
        engineTimes.push_back(engineRun(speech.sdk(), params, view.text, engineBytes));
        if (round % 2 == 0)
            timeRun();
        if (state.exportAudio.size() < 44 + engineBytes / 2) {
            std::fprintf(stderr, "the run gave %zu bytes, the engine alone %zu\n", state.exportAudio.size(), engineBytes);
            return 1;
        }
    }
    player.stopWavPlayback();
    output.settle(std::chrono::seconds(5));

    const double engine = median(engineTimes);
    const double run = median(runTimes);
    std::printf("text: %zu bytes of GBK Chinese; audio: %zu bytes (%.1f s at 16000 Hz); %d rounds\n",
                view.text.size(), engineBytes, double(engineBytes) / 32000.0, rounds);
    std::printf("engine alone:  median %7.1f ms, best %7.1f ms\n", engine, *std::min_element(engineTimes.begin(), engineTimes.end()));
    std::printf("synthesis run: median %7.1f ms, best %7.1f ms\n", run, *std::min_element(runTimes.begin(), runTimes.end()));
    std::printf("overhead of the run (medians): %+.1f ms (%+.1f%%)\n", run - engine, 100.0 * (run - engine) / engine);
    std::printf("event passes: %d, %.1f ms in all\n", view.eventPasses / rounds, ms(view.eventTime) / rounds);
    std::printf("peak memory: %.1f MiB (%.1f MiB before the engine was set up)\n", double(peakKiB()) / 1024.0,
                double(baseKiB) / 1024.0);
    speech.ShutDown();
    return 0;
}
