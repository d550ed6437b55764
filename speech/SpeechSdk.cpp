#include "speech/SpeechSdk.h"

#include <dlfcn.h>

namespace {

template <class F>
F lookUp(void* handle, const char* name)
{
    return reinterpret_cast<F>(dlsym(handle, name));
}

} // namespace

bool SpeechSdk::load(const std::vector<std::filesystem::path>& directories, const std::string& fileName)
{
    if (loaded())
        return true;
    std::vector<std::string> candidates;
    for (const auto& directory : directories) {
        if (!directory.empty())
            candidates.push_back((directory / fileName).string());
    }
    candidates.push_back(fileName); // no slash: the system's search path
    for (const auto& candidate : candidates) {
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            continue;
        if (bind(handle)) {
            file_ = candidate;
            return true;
        }
        dlclose(handle);
    }
    return false;
}

bool SpeechSdk::bind(void* handle)
{
    const auto init = lookUp<InitFn>(handle, "QTTSInit");
    const auto sessionBegin = lookUp<SessionBeginFn>(handle, "QTTSSessionBegin");
    const auto textPut = lookUp<TextPutFn>(handle, "QTTSTextPut");
    const auto audioGet = lookUp<AudioGetFn>(handle, "QTTSAudioGet");
    const auto sessionEnd = lookUp<SessionEndFn>(handle, "QTTSSessionEnd");
    const auto fini = lookUp<FiniFn>(handle, "QTTSFini");
    if (!init || !sessionBegin || !textPut || !audioGet || !sessionEnd || !fini)
        return false;
    init_ = init;
    sessionBegin_ = sessionBegin;
    textPut_ = textPut;
    audioGet_ = audioGet;
    sessionEnd_ = sessionEnd;
    fini_ = fini;
    return true;
}

int SpeechSdk::init(const std::string& configs)
{
    return init_ ? init_(configs.c_str()) : kSdkNotLoaded;
}

const char* SpeechSdk::sessionBegin(const std::string& params, int* errorCode)
{
    if (!sessionBegin_) {
        if (errorCode)
            *errorCode = kSdkNotLoaded;
        return nullptr;
    }
    return sessionBegin_(params.c_str(), errorCode);
}

int SpeechSdk::textPut(const std::string& sessionId, const std::string& text)
{
    if (!textPut_)
        return kSdkNotLoaded;
    return textPut_(sessionId.c_str(), text.c_str(), static_cast<unsigned int>(text.size()), "");
}

const void* SpeechSdk::audioGet(const std::string& sessionId, unsigned int* audioLen, int* synthStatus, int* errorCode)
{
    if (!audioGet_) {
        if (audioLen)
            *audioLen = 0;
        if (errorCode)
            *errorCode = kSdkNotLoaded;
        return nullptr;
    }
    return audioGet_(sessionId.c_str(), audioLen, synthStatus, errorCode);
}

int SpeechSdk::sessionEnd(const std::string& sessionId, const std::string& hints)
{
    return sessionEnd_ ? sessionEnd_(sessionId.c_str(), hints.c_str()) : kSdkNotLoaded;
}

int SpeechSdk::fini()
{
    return fini_ ? fini_() : kSdkNotLoaded;
}
