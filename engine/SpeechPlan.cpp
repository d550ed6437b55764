#include "SpeechPlan.h"

#include "Utf8.h"

namespace msc {

namespace {

enum class CharClass { Han, Latin, Digit, Other };

CharClass classify(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return CharClass::Latin;
  if (c >= '0' && c <= '9') return CharClass::Digit;
  if (c < 0x80) return CharClass::Other;
  if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF) ||
      (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A))
    return CharClass::Latin;
  if (c >= 0xFF10 && c <= 0xFF19) return CharClass::Digit;
  if ((c >= 0x2E80 && c <= 0x2FDF) || (c >= 0x3005 && c <= 0x3007) || (c >= 0x3021 && c <= 0x3029) ||
      (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
      (c >= 0x20000 && c <= 0x3134F))
    return CharClass::Han;
  return CharClass::Other;
}

std::string voiceName(const VoiceProfile& voice, Script script) {
  std::string name(script == Script::Han ? voice.hanVoice : voice.latinVoice);
  name += '+';
  name += voice.variant;
  return name;
}

bool spellRun(std::size_t digits, bool leadingZero, int numberReading) {
  if (digits < 2) return false;
  if (numberReading == 2) return true;
  return numberReading == 3 && (digits > 4 || leadingZero);
}

// Puts a space between the digits of the runs that are to be read one by one.
std::string spellDigits(std::string_view text, int numberReading) {
  if (numberReading != 2 && numberReading != 3) return std::string(text);
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    char32_t c = nextCodePoint(text, pos);
    if (classify(c) != CharClass::Digit) {
      out.append(text.substr(start, pos - start));
      continue;
    }
    std::vector<char32_t> run{c};
    std::size_t end = pos;
    while (end < text.size()) {
      std::size_t next = end;
      c = nextCodePoint(text, next);
      if (classify(c) != CharClass::Digit) break;
      run.push_back(c);
      end = next;
    }
    const bool spell = spellRun(run.size(), run.front() == '0' || run.front() == 0xFF10, numberReading);
    for (std::size_t i = 0; i < run.size(); ++i) {
      if (spell && i > 0) out += ' ';
      appendUtf8(out, run[i]);
    }
    pos = end;
  }
  return out;
}

std::vector<SpeechSegment> planPlain(const VoiceProfile& voice, std::string_view text) {
  std::vector<SpeechSegment> segments;
  Script current = voice.primary;
  std::string run;
  bool runHasContent = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const CharClass kind = classify(nextCodePoint(text, pos));
    if (kind == CharClass::Han || kind == CharClass::Latin) {
      const Script script = kind == CharClass::Han ? Script::Han : Script::Latin;
      if (script != current) {
        // Spaces and punctuation before the first word go with the next run.
        if (runHasContent) {
          segments.push_back({voiceName(voice, current), std::move(run), false});
          run.clear();
          runHasContent = false;
        }
        current = script;
      }
    }
    if (kind != CharClass::Other) runHasContent = true;
    run.append(text.substr(start, pos - start));
  }
  if (!run.empty()) segments.push_back({voiceName(voice, current), std::move(run), false});
  return segments;
}

// Length of the markup at text[pos] ('<' ... '>', quotes respected, or a comment).
std::size_t markupLength(std::string_view text, std::size_t pos) {
  if (text.substr(pos, 4) == "<!--") {
    const auto end = text.find("-->", pos + 4);
    return end == std::string_view::npos ? text.size() - pos : end + 3 - pos;
  }
  char quote = 0;
  for (std::size_t i = pos + 1; i < text.size(); ++i) {
    const char c = text[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      return i + 1 - pos;
    }
  }
  return text.size() - pos;
}

// Length of a character reference such as "&amp;" or "&#20320;", 0 when none starts here.
std::size_t entityLength(std::string_view text, std::size_t pos) {
  constexpr std::size_t kLongest = 12;
  for (std::size_t i = pos + 1; i < text.size() && i - pos <= kLongest; ++i) {
    const char c = text[i];
    if (c == ';') return i > pos + 1 ? i + 1 - pos : 0;
    const bool nameChar = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '#';
    if (!nameChar) return 0;
  }
  return 0;
}

std::vector<SpeechSegment> planSsml(const VoiceProfile& voice, std::string_view text, int numberReading) {
  std::string out;
  bool foreignOpen = false;
  auto setForeign = [&](bool open, Script script) {
    if (open == foreignOpen) return;
    out += open ? "<voice name=\"" + voiceName(voice, script) + "\">" : std::string("</voice>");
    foreignOpen = open;
  };
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (text[pos] == '<') {
      // Markup is never split, so every inserted element closes before it.
      setForeign(false, voice.primary);
      const std::size_t length = markupLength(text, pos);
      out.append(text.substr(pos, length));
      pos += length;
      continue;
    }
    std::size_t end = pos;
    while (end < text.size() && text[end] != '<') ++end;
    const std::string words = spellDigits(text.substr(pos, end - pos), numberReading);
    std::string_view rest(words);
    std::size_t at = 0;
    while (at < rest.size()) {
      if (rest[at] == '&') {
        if (const std::size_t length = entityLength(rest, at)) {
          out.append(rest.substr(at, length));
          at += length;
          continue;
        }
      }
      const std::size_t start = at;
      const CharClass kind = classify(nextCodePoint(rest, at));
      if (kind == CharClass::Han || kind == CharClass::Latin) {
        const Script script = kind == CharClass::Han ? Script::Han : Script::Latin;
        setForeign(script != voice.primary, script);
      }
      out.append(rest.substr(start, at - start));
    }
    pos = end;
  }
  setForeign(false, voice.primary);
  return {{voiceName(voice, voice.primary), std::move(out), true}};
}

}  // namespace

std::vector<SpeechSegment> planSpeech(const VoiceProfile& voice, std::string_view utf8, bool ssml,
                                      int numberReading) {
  if (ssml) return planSsml(voice, utf8, numberReading);
  return planPlain(voice, spellDigits(utf8, numberReading));
}

}  // namespace msc
