#pragma once

#include <string>
#include <string_view>

// Code pages by their Windows numbers, the way the network code names them.
namespace CodePage {
inline constexpr int Gbk = 936;
inline constexpr int Big5 = 950;
inline constexpr int Utf16Le = 1200;
inline constexpr int Gb18030 = 54936;
inline constexpr int Utf8 = 65001;
} // namespace CodePage

// The text up to its first NUL (for UTF-16LE: its first zero unit) as UTF-16 code
// units, followed by one zero unit. A byte sequence the code page does not hold
// becomes U+FFFD. Code page 936 also reads the four-byte sequences of GB18030, so
// that what Utf8ToGbk produces converts back. Empty when the code page is unknown.
std::u16string MultiByteToUtf16(std::string_view text, int codePage = CodePage::Utf8);

// The units up to the first zero unit (or all of them) in the code page. A character
// the code page cannot hold becomes "?"; in UTF-8 a lone surrogate becomes U+FFFD.
// Empty when the code page is unknown.
std::string Utf16ToMultiByte(std::u16string_view units, int codePage = CodePage::Gbk);

std::string GbkToUtf8(std::string_view gbkText);

// UTF-8 to GB18030 (GBK where GBK holds the character, four bytes otherwise), cut at
// the first NUL. Empty when the bytes are not valid UTF-8, so that callers can fall
// back to Utf8BytesToGbk.
std::string Utf8ToGbk(std::string_view utf8Bytes);

// UTF-8 bytes of any length (NUL bytes included) to GBK, never failing: a base
// character with combining marks is composed first where GBK holds the composed
// form; an invalid sequence or a character GBK lacks becomes "?".
std::string Utf8BytesToGbk(std::string_view utf8Bytes);

// Replaces "\uXXXX" escapes (either case of "u" and of the hex digits) by the GBK
// text of that UTF-16 unit; a unit GBK cannot hold, a surrogate and U+0000 give an
// empty replacement. A "\u" without four hex digits stays as it is. When the text
// holds "&#x", each becomes "\u" and every ";" of the text is removed first.
std::string UnescapeUnicode(std::string_view text);
