#pragma once

#include <optional>
#include <string>
#include <string_view>

class QString;

// The one place where texts change character set. The system's texts are GBK
// byte strings; widgets hold QString, the network speaks UTF-8.

// Converts with iconv; nullopt when the converter does not exist or refuses the input.
std::optional<std::string> convertText(std::string_view in, const char* fromCode, const char* toCode);

// UTF-8 to GBK; a character GBK cannot hold becomes "?", as the Windows conversion does.
std::string gbk(std::string_view utf8);
// GBK (read as its superset GB18030) to UTF-8; a byte sequence that is not GBK becomes U+FFFD.
std::string utf8(std::string_view gbkText);

// Widget boundary.
QString toQString(std::string_view gbkText);
std::string fromQString(const QString& text);
