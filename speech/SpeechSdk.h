#pragma once

#include <filesystem>
#include <string>
#include <vector>

// The speech engine library, bound at run time by its six C functions. Without the library,
// or with one of the functions missing, every call fails with kSdkNotLoaded: initialisation
// fails and no session can begin, as if the engine had refused.
//
// All strings are zero-terminated GBK byte strings; nothing is converted.
class SpeechSdk {
public:
    // The code of every call while no library is bound; the engine's own codes are positive.
    static constexpr int kSdkNotLoaded = -1;
    static constexpr const char* kLibraryName = "libmsc.so";

    SpeechSdk() = default;
    SpeechSdk(const SpeechSdk&) = delete;
    SpeechSdk& operator=(const SpeechSdk&) = delete;
    // The library stays mapped for the life of the process: the engine may run threads of its
    // own, which an unmapping would pull the code from under.
    ~SpeechSdk() = default;

    // Opens fileName in each directory in turn, then by its bare name through the system's
    // library search path, and looks up the six functions. True when all were found; a
    // library that lacks one is let go and the search goes on.
    bool load(const std::vector<std::filesystem::path>& directories, const std::string& fileName = kLibraryName);
    bool loaded() const { return init_ != nullptr; }
    // The file that was bound, empty when none.
    const std::filesystem::path& libraryFile() const { return file_; }

    int init(const std::string& configs);
    // The engine's id, or null; errorCode receives the engine's code (kSdkNotLoaded unbound).
    const char* sessionBegin(const std::string& params, int* errorCode);
    int textPut(const std::string& sessionId, const std::string& text);
    // A piece of audio owned by the engine and valid until the next call for the session.
    const void* audioGet(const std::string& sessionId, unsigned int* audioLen, int* synthStatus, int* errorCode);
    int sessionEnd(const std::string& sessionId, const std::string& hints);
    int fini();

private:
    using InitFn = int (*)(const char* configs);
    using SessionBeginFn = const char* (*)(const char* params, int* errorCode);
    using TextPutFn = int (*)(const char* sessionId, const char* text, unsigned int textLen, const char* params);
    using AudioGetFn = const void* (*)(const char* sessionId, unsigned int* audioLen, int* synthStatus, int* errorCode);
    using SessionEndFn = int (*)(const char* sessionId, const char* hints);
    using FiniFn = int (*)();

    bool bind(void* handle);

    InitFn init_ = nullptr;
    SessionBeginFn sessionBegin_ = nullptr;
    TextPutFn textPut_ = nullptr;
    AudioGetFn audioGet_ = nullptr;
    SessionEndFn sessionEnd_ = nullptr;
    FiniFn fini_ = nullptr;
    std::filesystem::path file_;
};
