#pragma once

#include <string_view>

// The voice tables of the engine types, as text constants (UTF-8 here, GBK in the program):
// entries separated by CR LF, fields by "|".
// Voice tables: name|description|voice code. Language table: language code|language name.
extern const std::string_view kChineseVoices;
extern const std::string_view kEnglishVoices;
extern const std::string_view kDialectVoices;
extern const std::string_view kLanguages;
