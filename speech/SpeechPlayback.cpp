#include "speech/SpeechPlayback.h"

#include "platform/Dialogs.h"
#include "platform/MediaCommands.h"
#include "platform/TextCodec.h"
#include "platform/WavPlayer.h"
#include "speech/SpeechState.h"
#include "speech/SynthesisView.h"

#include <cstdio>

namespace {

// Creates or empties the file and writes all bytes; false when any step failed, the flush
// at close included (a full disk shows there).
bool writeWholeFile(const std::filesystem::path& file, const std::string& bytes)
{
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const bool closed = std::fclose(out) == 0;
    return written && closed;
}

} // namespace

bool PlayMediaFile(MediaCommands& media, const std::string& path, const std::string& alias)
{
    media.sendCommand("open \"" + path + "\" alias " + alias);
    return media.sendCommand("play " + alias) == kMediaOk;
}

bool CloseMedia(MediaCommands& media, const std::string& alias)
{
    return media.sendCommand("close " + alias) == kMediaOk;
}

SpeechPlayback::SpeechPlayback(SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, MediaCommands& media,
                               Dialogs& dialogs, std::filesystem::path runDirectory)
    : state_(state), view_(view), wavPlayer_(wavPlayer), media_(media), dialogs_(dialogs),
      runDirectory_(std::move(runDirectory))
{
}

void SpeechPlayback::StopPlayback()
{
    wavPlayer_.stopWavPlayback();
    if (view_.currentSettings().engineType.index == kMultiLanguageEngine)
        CloseMedia(media_, kWebMediaAlias);
}

void SpeechPlayback::ExportSpeech()
{
    const bool web = view_.currentSettings().engineType.index == kMultiLanguageEngine;
    const std::string& bytes = web ? state_.webAudio : state_.exportAudio;
    if (bytes.empty()) {
        dialogs_.showMessage(gbk("请先合成语音再进行导出！"));
        return;
    }
    FileDialogRequest request;
    request.save = true;
    request.fileName = web ? gbk("合成语音.mp3") : gbk("合成语音.wav");
    request.filter = web ? gbk("文本文档(*.mp3)|*.mp3") : gbk("文本文档(*.wav)|*.wav");
    request.directory = runDirectory_;
    const auto chosen = dialogs_.chooseFile(request);
    if (!chosen)
        return;
    const std::string shownPath = gbk(chosen->string());
    if (writeWholeFile(*chosen, bytes))
        dialogs_.showMessage(gbk("导出成功:") + shownPath);
    else
        dialogs_.showMessage(gbk("导出失败:") + shownPath);
}
