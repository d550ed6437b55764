#pragma once

#include "speech/SpeechState.h"
#include "speech/SynthesisSettings.h"

#include <string>
#include <vector>

// What the product-information service tells about this program.
struct ProductInfo {
    std::string sname; // product name, GBK
};

// The program-wide values, created before the main window and released at exit.
struct ProgramState {
    static constexpr int TextLimit = 2048; // bytes of GBK text the text box holds

    std::vector<VoiceEntry> voiceList;
    int ProductNumber = 0;
    std::string LocalVersion;
    int SoftwareId = 0;
    ProductInfo productInfo;
    std::string ProductInfoKey;
    SpeechState speech; // currentSessionId, exportAudio, webAudio
};
