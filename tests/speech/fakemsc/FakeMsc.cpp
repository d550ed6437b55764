// A stand-in for the engine library that fails on request and writes down every call.
//   LANGQUE_FAKE_MSC_MODE  ok (default) | refuse-init | refuse-begin | empty-id | refuse-text |
//                          error-mid-run | never-end | endless | end-fails
//   LANGQUE_FAKE_MSC_LOG   file that each call appends one line to
// Both are read at every call, so that one test process can go through several modes.
// In "ok" a text gives one empty poll, then three pieces of kPieceBytes, the last with status 2.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#define FAKE_API extern "C" __attribute__((visibility("default")))

namespace {

constexpr unsigned kPieceBytes = 1000;
constexpr int kMore = 1;
constexpr int kDone = 2;

struct Session {
    int polls = 0;
    int pieces = 0;
    bool hasText = false;
    std::vector<char> piece;
};

bool initialised = false;
int nextId = 1;
std::map<std::string, Session> sessions;

std::string mode()
{
    const char* value = std::getenv("LANGQUE_FAKE_MSC_MODE");
    return value ? value : "ok";
}

void log(const std::string& line)
{
    const char* file = std::getenv("LANGQUE_FAKE_MSC_LOG");
    if (!file)
        return;
    if (std::FILE* out = std::fopen(file, "ab")) {
        std::fwrite(line.data(), 1, line.size(), out);
        std::fputc('\n', out);
        std::fclose(out);
    }
}

std::string hex(const char* bytes, unsigned length)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned i = 0; i < length; ++i) {
        out.push_back(digits[static_cast<unsigned char>(bytes[i]) >> 4]);
        out.push_back(digits[static_cast<unsigned char>(bytes[i]) & 15]);
    }
    return out;
}

// Piece n of a session: bytes that tell where they came from.
void fill(Session& session, int n)
{
    session.piece.assign(kPieceBytes, 0);
    for (unsigned i = 0; i < kPieceBytes; ++i)
        session.piece[i] = char((n * 31 + i) & 0xFF);
}

} // namespace

FAKE_API int QTTSInit(const char* configs)
{
    log(std::string("init ") + (configs ? configs : "(null)"));
    if (mode() == "refuse-init")
        return 10111;
    initialised = true;
    return 0;
}

FAKE_API const char* QTTSSessionBegin(const char* params, int* errorCode)
{
    log(std::string("begin ") + (params ? params : "(null)"));
    static std::string empty;
    const std::string m = mode();
    if (!initialised || m == "refuse-begin") {
        *errorCode = initialised ? 10407 : 10132;
        return nullptr;
    }
    if (m == "empty-id") {
        *errorCode = 0;
        return empty.c_str();
    }
    const std::string id = "fake-" + std::to_string(nextId++);
    const auto placed = sessions.emplace(id, Session{});
    *errorCode = 0;
    return placed.first->first.c_str();
}

FAKE_API int QTTSTextPut(const char* sessionId, const char* text, unsigned int textLen, const char* params)
{
    log(std::string("textput ") + sessionId + " " + std::to_string(textLen) + " " + hex(text, textLen) + " params="
        + (params ? params : "(null)"));
    const auto found = sessions.find(sessionId);
    if (found == sessions.end())
        return 10108;
    if (mode() == "refuse-text")
        return 10109;
    found->second.hasText = true;
    return 0;
}

FAKE_API const void* QTTSAudioGet(const char* sessionId, unsigned int* audioLen, int* synthStatus, int* errorCode)
{
    log(std::string("audioget ") + sessionId);
    *audioLen = 0;
    const auto found = sessions.find(sessionId);
    if (found == sessions.end() || !found->second.hasText) {
        *synthStatus = kDone;
        *errorCode = 10108;
        return nullptr;
    }
    Session& session = found->second;
    const std::string m = mode();
    ++session.polls;
    *errorCode = 0;
    *synthStatus = kMore;
    if (session.polls == 1)
        return nullptr; // nothing ready yet
    const bool oneOnly = m == "error-mid-run" || m == "never-end";
    if (oneOnly && session.pieces >= 1) {
        if (m == "error-mid-run")
            *errorCode = 10116;
        return nullptr;
    }
    fill(session, session.pieces++);
    *audioLen = kPieceBytes;
    if (m != "endless" && !oneOnly && session.pieces == 3) {
        *synthStatus = kDone;
        session.hasText = false;
    }
    return session.piece.data();
}

FAKE_API int QTTSSessionEnd(const char* sessionId, const char* hints)
{
    log(std::string("end ") + sessionId + " " + (hints ? hints : "(null)"));
    if (mode() == "end-fails")
        return 10117;
    // Freed at once, so that a caller still reading a piece reads freed memory.
    return sessions.erase(sessionId) ? 0 : 10108;
}

#ifndef FAKE_MSC_WITHOUT_FINI
FAKE_API int QTTSFini(void)
{
    log("fini");
    sessions.clear();
    initialised = false;
    return 0;
}
#endif
