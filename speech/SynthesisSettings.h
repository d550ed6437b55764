#pragma once

#include <string>
#include <vector>

// One voice of the current engine type, parallel to the items of 组合框_发音人.
struct VoiceEntry {
    std::string displayText; // GBK
    std::string voiceCode;   // speech service voice code, or language code for the multi-language engine
};

// The selection of one drop-down list: its index (-1 for none) and the selected item's text (GBK).
struct ListChoice {
    int index = -1;
    std::string text;
};

// The current option choices, read from the list boxes at the moment of use.
struct SynthesisSettings {
    ListChoice engineType;
    ListChoice voiceIndex;
    ListChoice speed;
    ListChoice volume;
    ListChoice textType;
    ListChoice textEncoding;
    ListChoice numberReading;
    ListChoice backgroundSound;
    ListChoice audioEncoding;
    ListChoice compressionLevel;
    ListChoice audioFormat;
};

constexpr int kMultiLanguageEngine = 3;
