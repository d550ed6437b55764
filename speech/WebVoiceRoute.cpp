#include "speech/WebVoiceRoute.h"

#include "net/HttpRequest.h"
#include "net/TextSearch.h"
#include "net/UrlCoding.h"
#include "platform/MediaCommands.h"
#include "platform/TextCodec.h"
#include "speech/SpeechPlayback.h"
#include "speech/SpeechState.h"
#include "speech/SynthesisView.h"

#include <fstream>

namespace {

bool writeWhole(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace

WebVoiceRoute::WebVoiceRoute(SpeechState& state, SynthesisView& view, MediaCommands& media, std::string host,
                             std::filesystem::path temporaryDirectory)
    : state_(state), view_(view), media_(media), host_(std::move(host)),
      temporaryDirectory_(std::move(temporaryDirectory))
{
}

std::string WebVoiceRoute::requestUrl(const std::string& text, const std::string& language, int speed) const
{
    return "http://" + host_ + "/gettts?lan=" + language + "&text=" + UrlEncode(text) +
           "&spd=" + std::to_string(speed + 3) + "&source=web";
}

std::string WebVoiceRoute::requestHeaders() const
{
    return "Connection: keep-alive\r\n"
           "Accept-Encoding: identity;q=1, *;q=0\r\n"
           "Referer: https://" + host_ + "/\r\n"
           "Accept-Language: zh-CN,zh;q=0.8\r\n"
           "Range: bytes=0-2015\r\n";
}

void WebVoiceRoute::SynthesizeViaWeb()
{
    // A previous answer stops playing and lets go of the temporary file.
    CloseMedia(media_, kWebMediaAlias);

    const std::string text = view_.synthesisText();
    const SynthesisSettings settings = view_.currentSettings();
    const std::vector<VoiceEntry>& voices = view_.voiceList();
    const int voice = settings.voiceIndex.index;
    const std::string language =
        voice >= 0 && static_cast<size_t>(voice) < voices.size() ? voices[static_cast<size_t>(voice)].voiceCode : "";
    view_.setStatusText(gbk("正在合成语音,请稍候..."));

    std::string headers;
    HttpRequest request;
    request.url = requestUrl(text, language, settings.speed.index);
    request.extraHeaders = requestHeaders();
    request.headersOut = &headers;
    state_.webAudio = HttpEngine(UserAgent::WebVoice).send(request);

    const bool speech = ContainsText(headers, "audio") && !ContainsText(state_.webAudio, "err_msg");
    // An answer that cannot be written is a failure too: playing would sound an older file.
    if (!speech || !writeWhole(temporaryFile(), state_.webAudio)) {
        view_.setStatusText(gbk("文本合成失败，请重新输入..."));
        return;
    }
    view_.setStatusText(gbk("文本已合成..."));
    PlayMediaFile(media_, gbk(temporaryFile().string()), kWebMediaAlias);
}
