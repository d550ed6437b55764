#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class SpeechSdk;
class SynthesisView;
struct SpeechState;

// The directory of the running program: where the engine library is installed beside it.
std::filesystem::path ProgramDirectory();

// The engine's configuration: server_url, appid, timeout, coding_libs, max_text_size, in that order.
std::string SdkConfiguration();

// The engine library is installed beside the program, not carried inside it: this step finds
// and binds it (the directories first, then the system's library path). Silent either way.
void ExtractSdkLibraries(SpeechSdk& sdk, const std::vector<std::filesystem::path>& directories);

// Start-up: the library is located, fillOptionLists fills every option list and loads the
// settings, the engine is initialised and the status pane shows the outcome.
void SetUpSpeechSdk(SpeechSdk& sdk, const std::vector<std::filesystem::path>& directories, SynthesisView& view,
                    const std::function<void()>& fillOptionLists);

// Ends the held session with the hints "正常关闭"; 0 when none is held. The id is kept.
int EndSpeechSession(SpeechSdk& sdk, const SpeechState& state);
void ReleaseSpeechSdk(SpeechSdk& sdk);
