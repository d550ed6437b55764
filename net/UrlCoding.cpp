#include "net/UrlCoding.h"

#include "net/CodePages.h"

namespace {

const char hexDigits[] = "0123456789ABCDEF";

void appendPercent(std::string& out, unsigned char byte)
{
    out.push_back('%');
    out.push_back(hexDigits[byte >> 4]);
    out.push_back(hexDigits[byte & 0x0F]);
}

bool isAsciiAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool isUriUnreserved(char16_t unit)
{
    if (unit >= 0x80)
        return false;
    const char c = static_cast<char>(unit);
    switch (c) {
    case '-':
    case '_':
    case '.':
    case '!':
    case '~':
    case '*':
    case '\'':
    case '(':
    case ')':
        return true;
    default:
        return isAsciiAlphanumeric(c);
    }
}

void appendUtf8Percent(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        appendPercent(out, static_cast<unsigned char>(codePoint));
    } else if (codePoint < 0x800) {
        appendPercent(out, static_cast<unsigned char>(0xC0 | codePoint >> 6));
        appendPercent(out, static_cast<unsigned char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        appendPercent(out, static_cast<unsigned char>(0xE0 | codePoint >> 12));
        appendPercent(out, static_cast<unsigned char>(0x80 | (codePoint >> 6 & 0x3F)));
        appendPercent(out, static_cast<unsigned char>(0x80 | (codePoint & 0x3F)));
    } else {
        appendPercent(out, static_cast<unsigned char>(0xF0 | codePoint >> 18));
        appendPercent(out, static_cast<unsigned char>(0x80 | (codePoint >> 12 & 0x3F)));
        appendPercent(out, static_cast<unsigned char>(0x80 | (codePoint >> 6 & 0x3F)));
        appendPercent(out, static_cast<unsigned char>(0x80 | (codePoint & 0x3F)));
    }
}

} // namespace

std::string UrlEncode(std::string_view gbkText, bool keepUnreserved)
{
    const std::string utf8Text = GbkToUtf8(gbkText);
    std::string out;
    out.reserve(utf8Text.size() * 3);
    for (const char c : utf8Text) {
        if (keepUnreserved && (isAsciiAlphanumeric(c) || c == '-' || c == '.'))
            out.push_back(c);
        else
            appendPercent(out, static_cast<unsigned char>(c));
    }
    return out;
}

std::string UrlDecode(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(hexValue(text[i + 1]) << 4 | hexValue(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::string encodeURIComponent(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size() * 3);
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (isUriUnreserved(unit)) {
            out.push_back(static_cast<char>(unit));
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return {};
        } else if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 >= units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF)
                return {};
            const char32_t codePoint = 0x10000 + (static_cast<char32_t>(unit - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            appendUtf8Percent(out, codePoint);
            ++i;
        } else {
            appendUtf8Percent(out, unit);
        }
    }
    return out;
}

std::string encodeURIComponent(std::string_view gbkText)
{
    std::u16string units = MultiByteToUtf16(gbkText, CodePage::Gbk);
    units.pop_back();
    return encodeURIComponent(std::u16string_view(units));
}
