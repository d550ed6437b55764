#pragma once

#include "speech/SynthesisSettings.h"

#include <optional>
#include <string>
#include <vector>

// True when the choices can make a session: a voice of the list and a compression level are
// selected, and speed, volume and text type each hold one of their items.
bool SynthesisSettingsComplete(const SynthesisSettings& settings, const std::vector<VoiceEntry>& voiceList);

// The eleven pieces of the session parameter string, in order; nullopt when the settings are
// not complete.
std::optional<std::string> BuildSessionParameters(const SynthesisSettings& settings,
                                                  const std::vector<VoiceEntry>& voiceList);
