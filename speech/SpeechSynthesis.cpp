#include "speech/SpeechSynthesis.h"


SpeechSynthesis::SpeechSynthesis(SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, MediaCommands& media,
                                 Dialogs& dialogs)
    : SpeechSynthesis(state, view, wavPlayer, media, dialogs, Options{})
{
}

SpeechSynthesis::SpeechSynthesis(SpeechState& state, SynthesisView& view, WavPlayer& wavPlayer, MediaCommands& media,
                                 Dialogs& dialogs, Options options)
    : state_(state), view_(view), media_(media), options_(std::move(options)),
      run_(sdk_, state, view, wavPlayer, options_.limits),
      playback_(state, view, wavPlayer, media, dialogs, options_.runDirectory)
{
}

void SpeechSynthesis::SetUpSpeechSdk(const std::function<void()>& fillOptionLists)
{
    ::SetUpSpeechSdk(sdk_, options_.libraryDirectories, view_, fillOptionLists);
}

void SpeechSynthesis::ShutDown()
{
    run_.requestStop();
    if (EndSpeechSession(sdk_, state_) == 0)
        ReleaseSpeechSdk(sdk_);
}
