#pragma once

#include "platform/TextCodec.h"
#include "speech/SynthesisView.h"

#include <functional>
#include <string>
#include <vector>

// The main window as the run sees it: its text, choices and voice list are set by the test,
// and everything the run does to it is written to `log` in order (texts in UTF-8):
// "status <text>", "busy", "idle", "focus", "events".
class FakeSynthesisView final : public SynthesisView {
public:
    FakeSynthesisView()
    {
        settings.engineType = {0, gbk("中文语音引擎")};
        settings.voiceIndex = {0, gbk("小燕(青年女声)")};
        settings.speed = {2, gbk("正常")};
        settings.volume = {2, gbk("正常")};
        settings.textType = {0, gbk("普通")};
        settings.textEncoding = {1, "GB2312"};
        settings.numberReading = {0, gbk("数值优先")};
        settings.backgroundSound = {0, gbk("无")};
        settings.audioEncoding = {5, "speex"};
        settings.compressionLevel = {7, "7"};
        settings.audioFormat = {1, "audio/L16;rate=16000"};
        voices = {{gbk("小燕(青年女声)"), "xiaoyan"}, {gbk("小琪(青年女声)"), "xiaoqi"}, {gbk("小峰(青年男声)"), "vixf"}};
    }

    std::string text = gbk("你好，世界");
    SynthesisSettings settings;
    std::vector<VoiceEntry> voices;
    std::vector<std::string> log;
    bool busy = false;
    // Runs inside processPendingEvents, as a click or a close handled mid-run would.
    std::function<void()> duringEvents;

    std::string synthesisText() const override { return text; }
    void focusSynthesisText() override { log.push_back("focus"); }
    SynthesisSettings currentSettings() const override { return settings; }
    const std::vector<VoiceEntry>& voiceList() const override { return voices; }
    void setStatusText(const std::string& status) override { log.push_back("status " + utf8(status)); }
    void setSynthesisBusy(bool on) override
    {
        busy = on;
        log.push_back(on ? "busy" : "idle");
    }
    void processPendingEvents() override
    {
        log.push_back("events");
        if (duringEvents)
            duringEvents();
    }

    // The log without repeats of one entry in a row: the chunk-by-chunk part of a run
    // ("status 正在合成语音,请稍候...", "events", ...) shows once.
    std::vector<std::string> steps() const
    {
        std::vector<std::string> out;
        for (const auto& entry : log) {
            if (entry == "events")
                continue;
            if (out.empty() || out.back() != entry)
                out.push_back(entry);
        }
        return out;
    }
};
