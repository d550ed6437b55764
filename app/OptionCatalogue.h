#pragma once

#include "speech/SynthesisSettings.h"

#include <functional>
#include <string_view>
#include <vector>

struct OptionLists;

// The option vocabulary: fills the lists, keeps the voices and compression levels in step with the
// engine type and audio encoding, and restores the defaults.
class OptionCatalogue {
public:
    // loadSettings runs inside FillOptionLists, between the defaults and the rebuilds.
    OptionCatalogue(const OptionLists& lists, std::vector<VoiceEntry>& voiceList);

    // Runs once per process; the lists are added to without being cleared.
    void FillOptionLists(const std::function<void()>& loadSettings, const std::function<void()>& loadComboSelections);
    void ApplyDefaultOptions();
    void RebuildVoiceList();
    void RebuildCompressionLevels();

    // Splits a voice table into entries (CR LF) and fields ("|"); a CR LF at the very end adds no entry.
    static std::vector<VoiceEntry> parseTable(std::string_view utf8Table, bool languageTable);

private:
    const OptionLists& lists_;
    std::vector<VoiceEntry>& voiceList_;
};
