#include "VoiceTable.h"

#include <algorithm>
#include <array>

namespace msc {

namespace {

// espeak-ng 1.51: plain "cmn" spells Chinese characters out in English, so the
// Mandarin side is "cmn-latn-pinyin"; its Latin letters would be read as
// pinyin, which is why Latin runs go to an English voice of the same variant.
constexpr std::string_view kMandarin = "cmn-latn-pinyin";
constexpr std::string_view kCantonese = "yue";
constexpr std::string_view kAmerican = "en-us";
constexpr std::string_view kBritish = "en";  // espeak-ng names British English plain "en"

constexpr std::array<VoiceProfile, 36> kVoices{{
    // Chinese voices
    {"xiaoyan", Script::Han, kMandarin, kAmerican, "f3", 50, 50, 175, 107},
    {"xiaoqi", Script::Han, kMandarin, kAmerican, "f2", 56, 55, 170, 85},
    {"aisxping", Script::Han, kMandarin, kAmerican, "f1", 48, 50, 180, 93},
    {"aisjinger", Script::Han, kMandarin, kAmerican, "f4", 52, 45, 165, 88},
    {"yefang", Script::Han, kMandarin, kAmerican, "f5", 50, 55, 172, 108},
    {"aisxmeng", Script::Han, kMandarin, kAmerican, "steph", 54, 50, 185, 114},
    {"aismengchun", Script::Han, kMandarin, kAmerican, "steph2", 58, 60, 178, 67},
    {"ziqi", Script::Han, kMandarin, kAmerican, "steph3", 50, 45, 168, 60},
    {"jiajia", Script::Han, kMandarin, kAmerican, "Andrea", 46, 50, 176, 76},
    {"aisxa", Script::Han, kMandarin, kAmerican, "Alicia", 44, 55, 182, 129},
    {"aisjying", Script::Han, kMandarin, kAmerican, "belinda", 45, 40, 160, 108},
    {"aisxchun", Script::Han, kMandarin, kAmerican, "m1", 45, 40, 160, 124},
    {"vixf", Script::Han, kMandarin, kAmerican, "m3", 50, 50, 175, 107},
    {"aisjiuxu", Script::Han, kMandarin, kAmerican, "m2", 50, 55, 170, 131},
    {"aisduoxu", Script::Han, kMandarin, kAmerican, "m6", 52, 50, 182, 107},
    {"xiaoyu", Script::Han, kMandarin, kAmerican, "m7", 48, 50, 176, 96},
    {"niyang", Script::Han, kMandarin, kAmerican, "Andy", 50, 55, 172, 70},
    {"vils", Script::Han, kMandarin, kAmerican, "m4", 38, 40, 155, 117},
    {"aisbabyxu", Script::Han, kMandarin, kAmerican, "zac", 55, 60, 185, 60},
    {"vinn", Script::Han, kMandarin, kAmerican, "anika", 72, 65, 180, 82},
    {"aisxxin", Script::Han, kMandarin, kAmerican, "Tweaky", 88, 70, 200, 60},
    {"xiaowanzi", Script::Han, kMandarin, kAmerican, "Annie", 85, 75, 195, 100},
    {"aisduck", Script::Han, kMandarin, kAmerican, "croak", 92, 80, 215, 94},
    // English voices
    {"Catherine", Script::Latin, kMandarin, kBritish, "f5", 60, 50, 158, 102},
    {"vimary", Script::Latin, kMandarin, kAmerican, "f4", 64, 55, 185, 85},
    {"henry", Script::Latin, kMandarin, kBritish, "m3", 40, 50, 160, 112},
    {"aisjohn", Script::Latin, kMandarin, kAmerican, "m1", 56, 45, 180, 120},
    {"aisTom", Script::Latin, kMandarin, kAmerican, "m7", 60, 55, 188, 90},
    // Dialect voices: Cantonese where espeak-ng has it, Mandarin for the rest
    {"vixm", Script::Han, kCantonese, kBritish, "f2", 46, 55, 162, 95},
    {"vixl", Script::Han, kMandarin, kAmerican, "linda", 55, 60, 165, 82},
    {"vixr", Script::Han, kMandarin, kAmerican, "aunty", 50, 55, 178, 83},
    {"vixyun", Script::Han, kMandarin, kAmerican, "f1", 62, 65, 190, 87},
    {"vixying", Script::Han, kMandarin, kAmerican, "f4", 40, 50, 172, 96},
    {"vixk", Script::Han, kMandarin, kAmerican, "m5", 50, 55, 172, 123},
    {"vixqa", Script::Han, kMandarin, kAmerican, "m8", 52, 60, 168, 140},
    {"aisdalong", Script::Han, kCantonese, kBritish, "m2", 40, 50, 162, 140},
}};

}  // namespace

const VoiceProfile* findVoice(std::string_view code) {
  const auto it = std::find_if(kVoices.begin(), kVoices.end(),
                               [&](const VoiceProfile& v) { return v.code == code; });
  return it == kVoices.end() ? nullptr : &*it;
}

std::span<const VoiceProfile> allVoices() { return kVoices; }

}  // namespace msc
