#include "speech/SynthesisRun.h"

#include "platform/TextCodec.h"
#include "platform/WavPlayer.h"
#include "speech/SdkSetUp.h"
#include "speech/SessionParameters.h"
#include "speech/SpeechSdk.h"
#include "speech/SpeechState.h"
#include "speech/SynthesisView.h"
#include "speech/WavWriter.h"

#include <thread>

namespace {

constexpr int kEndStatus = 2;

// True when the GBK text holds nothing but half-width and full-width (A1 A1) spaces.
// Walks whole characters, so that the trail byte of one and the lead of the next never pair up.
bool blankText(const std::string& text)
{
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        if (lead >= 0x81 && lead <= 0xFE && at + 1 < text.size()) {
            if (lead != 0xA1 || static_cast<unsigned char>(text[at + 1]) != 0xA1)
                return false;
            at += 2;
        } else {
            if (lead != 0x20)
                return false;
            ++at;
        }
    }
    return true;
}

} // namespace

SynthesisRun::SynthesisRun(SpeechSdk& sdk, SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer)
    : SynthesisRun(sdk, state, view, wavPlayer, Limits{})
{
}

SynthesisRun::SynthesisRun(SpeechSdk& sdk, SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer,
                           Limits limits)
    : sdk_(sdk), state_(state), view_(view), wavPlayer_(wavPlayer), limits_(limits),
      webRoute_([this] { view_.setStatusText(gbk("文本合成失败，请重新输入...")); })
{
}

void SynthesisRun::SetSynthesisBusy(bool busy)
{
    view_.setSynthesisBusy(busy);
}

int SynthesisRun::BeginSynthesisSession()
{
    const auto params = BuildSessionParameters(view_.currentSettings(), view_.voiceList());
    if (!params) { // StartSynthesis checks the settings first; this only guards other callers
        state_.currentSessionId.clear();
        return SpeechSdk::kSdkNotLoaded;
    }
    int errorCode = 0;
    const char* id = sdk_.sessionBegin(*params, &errorCode);
    state_.currentSessionId = id ? id : "";
    return errorCode;
}

void SynthesisRun::StartSynthesis()
{
    // The button is disabled during a run; this guards against a click delivered anyway.
    if (running_)
        return;
    if (blankText(view_.synthesisText())) {
        view_.focusSynthesisText();
        view_.setStatusText(gbk("请输入要合成语音的文本"));
        return;
    }
    if (!SynthesisSettingsComplete(view_.currentSettings(), view_.voiceList())) {
        view_.setStatusText(gbk("请将合成参数设置完整!"));
        return;
    }
    if (view_.currentSettings().engineType.index == kMultiLanguageEngine) {
        if (webRoute_)
            webRoute_();
        return;
    }
    if (!state_.currentSessionId.empty())
        EndSpeechSession(sdk_, state_);
    const int begun = BeginSynthesisSession();
    if (begun != 0 || state_.currentSessionId.empty()) {
        view_.setStatusText(gbk("启动会话失败，请检查appid是否可用"));
        return;
    }
    SetSynthesisBusy(true);
    if (sdk_.textPut(state_.currentSessionId, view_.synthesisText()) != 0) {
        view_.setStatusText(gbk("发送转换文本失败"));
        SetSynthesisBusy(false);
        return;
    }
    view_.setStatusText(gbk("成功发送转换文本,等待返回结果中..."));
    CollectSynthesisAudio();
}

void SynthesisRun::CollectSynthesisAudio()
{
    running_ = true;
    stopRequested_ = false;
    // The header's room is kept in front, so that the finished image needs no second copy.
    std::string image(kWavHeaderBytes, '\0');
    const Outcome outcome = collect(image);
    running_ = false;
    stopRequested_ = false;
    if (outcome == Outcome::Stopped)
        return; // the window is closing: neither the engine nor the view is touched again
    if (outcome == Outcome::Failed) {
        view_.setStatusText(gbk("合成失败，请重试"));
        SetSynthesisBusy(false);
        return;
    }
    image.replace(0, kWavHeaderBytes, WavHeader(image.size() - kWavHeaderBytes, view_.currentSettings().audioFormat));
    wavPlayer_.stopWavPlayback();
    wavPlayer_.playWavImage(image);
    SetSynthesisBusy(false);
    state_.exportAudio = std::move(image);
    view_.setStatusText(gbk("语音已合成"));
}

// Appends the audio to what `audio` already holds.
SynthesisRun::Outcome SynthesisRun::collect(std::string& audio)
{
    // Held apart from currentSessionId, which an event handled between pieces must not redirect.
    const std::string sessionId = state_.currentSessionId;
    const std::size_t before = audio.size();
    auto lastPiece = std::chrono::steady_clock::now();
    int status = 0;
    while (status != kEndStatus) {
        unsigned int length = 0;
        int errorCode = 0;
        status = 0;
        const void* piece = sdk_.audioGet(sessionId, &length, &status, &errorCode);
        if (errorCode != 0)
            return Outcome::Failed;
        if (piece && length != 0) {
            if (audio.size() - before + length > limits_.maxAudioBytes)
                return Outcome::Failed;
            // Copied before the window handles events: a close among them ends the session,
            // which frees the piece.
            audio.append(static_cast<const char*>(piece), length);
            lastPiece = std::chrono::steady_clock::now();
            view_.setStatusText(gbk("正在合成语音,请稍候..."));
            view_.processPendingEvents();
            if (stopRequested_)
                return Outcome::Stopped;
        } else if (status != kEndStatus) {
            if (std::chrono::steady_clock::now() - lastPiece > limits_.endStatusTimeout)
                return Outcome::Failed;
            std::this_thread::sleep_for(limits_.idlePollPause);
        }
    }
    return Outcome::Finished;
}
