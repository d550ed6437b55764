// The six exported functions and the error texts: C linkage, no exception
// ever leaves the library.
#include <new>

#include "Engine.h"
#include "msc.h"

namespace {

template <typename Call>
int guarded(Call call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    return MSC_ERROR_OUT_OF_MEMORY;
  } catch (...) {
    return MSC_ERROR_SYNTHESIS_FAILED;
  }
}

}  // namespace

extern "C" {

MSC_API int QTTSInit(const char* configs) {
  return guarded([&] { return msc::theEngine().init(configs); });
}

MSC_API const char* QTTSSessionBegin(const char* params, int* errorCode) {
  const char* id = nullptr;
  const int error = guarded([&] {
    int code = MSC_OK;
    id = msc::theEngine().beginSession(params, code);
    return code;
  });
  if (error != MSC_OK) id = nullptr;
  if (errorCode) *errorCode = error;
  return id;
}

MSC_API int QTTSTextPut(const char* sessionId, const char* text, unsigned int textLen, const char*) {
  return guarded([&] { return msc::theEngine().putText(sessionId, text, textLen); });
}

MSC_API const void* QTTSAudioGet(const char* sessionId, unsigned int* audioLen, int* synthStatus,
                                 int* errorCode) {
  const void* audio = nullptr;
  unsigned length = 0;
  int status = MSC_STATUS_DONE;
  const int error = guarded([&] {
    int code = MSC_OK;
    audio = msc::theEngine().getAudio(sessionId, length, status, code);
    return code;
  });
  if (error != MSC_OK && !audio) {
    length = 0;
    status = MSC_STATUS_DONE;
  }
  if (audioLen) *audioLen = length;
  if (synthStatus) *synthStatus = status;
  if (errorCode) *errorCode = error;
  return audio;
}

MSC_API int QTTSSessionEnd(const char* sessionId, const char*) {
  return guarded([&] { return msc::theEngine().endSession(sessionId); });
}

MSC_API int QTTSFini(void) {
  return guarded([] { return msc::theEngine().fini(); });
}

MSC_API const char* msc_ErrorText(int code) {
  switch (code) {
    case MSC_OK: return "success";
    case MSC_ERROR_NOT_INITIALIZED: return "the engine is not initialised";
    case MSC_ERROR_ALREADY_INITIALIZED: return "the engine is already initialised";
    case MSC_ERROR_INVALID_CONFIG: return "malformed configuration string";
    case MSC_ERROR_INVALID_PARAMETER: return "invalid parameter";
    case MSC_ERROR_UNKNOWN_VOICE: return "unknown voice";
    case MSC_ERROR_UNKNOWN_SESSION: return "unknown session";
    case MSC_ERROR_NO_TEXT: return "no text has been put for this session";
    case MSC_ERROR_SESSION_BUSY: return "the previous text's audio has not been collected";
    case MSC_ERROR_TEXT_TOO_LONG: return "text longer than max_text_size";
    case MSC_ERROR_TEXT_ENCODING: return "text bytes invalid in the session's encoding";
    case MSC_ERROR_SYNTHESIS_FAILED: return "synthesis failed";
    case MSC_ERROR_OUT_OF_MEMORY: return "out of memory";
    case MSC_ERROR_ENGINE_UNAVAILABLE: return "the speech back end or its data could not be loaded";
    case MSC_ERROR_TOO_MANY_SESSIONS: return "too many open sessions";
    default: return "unknown error code";
  }
}

}  // extern "C"
