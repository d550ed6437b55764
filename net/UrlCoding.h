#pragma once

#include <string>
#include <string_view>

// The GBK text as UTF-8, each byte percent-encoded with upper-case hex digits. With
// keepUnreserved, ASCII letters, digits, "-" and "." stay as they are; "_" and "~"
// are encoded too, as the services we talk to have always received them.
std::string UrlEncode(std::string_view gbkText, bool keepUnreserved = true);

// Each "%" with two hex digits (either case) becomes that byte; every other byte,
// "+" and a "%" without two hex digits after it included, is copied.
std::string UrlDecode(std::string_view text);

// JavaScript's encodeURIComponent of the GBK text: over its UTF-16 form, A-Z a-z 0-9
// and - _ . ! ~ * ' ( ) stay, every other code point becomes its UTF-8 bytes
// percent-encoded with upper-case hex digits. Where JavaScript throws (a lone
// surrogate) the result is empty.
std::string encodeURIComponent(std::string_view gbkText);
std::string encodeURIComponent(std::u16string_view units);
