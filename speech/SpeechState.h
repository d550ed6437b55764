#pragma once

#include <string>

// The program-wide values of the speech subsystem; ProgramState holds one.
struct SpeechState {
    // Id of the session last begun; empty before the first begin and after a refused one.
    // Ending a session does not clear it.
    std::string currentSessionId;
    // The WAV image (header and audio) of the last finished engine run.
    std::string exportAudio;
    // The body of the last web speech request (an MP3 when it succeeded).
    std::string webAudio;
};
