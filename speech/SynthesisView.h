#pragma once

#include "speech/SynthesisSettings.h"

#include <string>
#include <vector>

// What the synthesis run and the web voice route need from the main window.
// Texts are GBK.
class SynthesisView {
public:
    virtual ~SynthesisView() = default;

    // Content of 编辑框_合成文本.
    virtual std::string synthesisText() const = 0;
    virtual void focusSynthesisText() = 0;
    virtual SynthesisSettings currentSettings() const = 0;
    virtual const std::vector<VoiceEntry>& voiceList() const = 0;
    // Pane 1 of the status bar.
    virtual void setStatusText(const std::string& text) = 0;
    // Start button: busy = disabled with "正在合成", idle = enabled with "开始合成".
    virtual void setSynthesisBusy(bool busy) = 0;
    // Lets the window handle its pending events once (between audio chunks).
    virtual void processPendingEvents() = 0;
};
