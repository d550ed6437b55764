#include "net/CodePages.h"

#include "platform/TextCodec.h"

#include <QChar>
#include <QString>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

namespace {

struct CodePageName {
    int codePage;
    const char* iconvName;
};

constexpr CodePageName codePageNames[] = {
    {CodePage::Gbk, "GBK"},
    {CodePage::Big5, "BIG5"},
    {CodePage::Utf16Le, "UTF-16LE"},
    {CodePage::Gb18030, "GB18030"},
    {CodePage::Utf8, "UTF-8"},
};

const char* iconvName(int codePage)
{
    for (const CodePageName& entry : codePageNames)
        if (entry.codePage == codePage)
            return entry.iconvName;
    return nullptr;
}

const char* const utf16Name = iconvName(CodePage::Utf16Le);

bool inRange(unsigned char byte, unsigned char low, unsigned char high)
{
    return byte >= low && byte <= high;
}

// Length of the character that starts at pos, as the code page frames it. A broken
// sequence is framed as its longest well-formed start, so that it costs one U+FFFD
// and the byte that broke it is read again as the start of the next character.
size_t utf8UnitLength(std::string_view bytes, size_t pos)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    size_t length = 1;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (inRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (inRange(lead, 0xE0, 0xEF)) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (inRange(lead, 0xF0, 0xF4)) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    size_t taken = 1;
    while (taken < length && pos + taken < bytes.size()) {
        const auto next = static_cast<unsigned char>(bytes[pos + taken]);
        if (!inRange(next, low, high))
            break;
        low = 0x80;
        high = 0xBF;
        ++taken;
    }
    return taken;
}

size_t doubleByteUnitLength(std::string_view bytes, size_t pos, bool fourByteForms)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (!inRange(lead, 0x81, 0xFE) || pos + 1 >= bytes.size())
        return 1;
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    if (fourByteForms && inRange(second, 0x30, 0x39) && pos + 3 < bytes.size()
        && inRange(static_cast<unsigned char>(bytes[pos + 2]), 0x81, 0xFE)
        && inRange(static_cast<unsigned char>(bytes[pos + 3]), 0x30, 0x39))
        return 4;
    if (second >= 0x40 && second != 0x7F && second != 0xFF)
        return 2;
    return 1;
}

size_t unitLength(int codePage, std::string_view bytes, size_t pos)
{
    if (codePage == CodePage::Utf8)
        return utf8UnitLength(bytes, pos);
    return doubleByteUnitLength(bytes, pos, codePage != CodePage::Big5);
}

std::u16string unitsFromLe(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i])
                                         | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return units;
}

std::string unitsToLe(std::u16string_view units)
{
    std::string bytes(units.size() * 2, '\0');
    for (size_t i = 0; i < units.size(); ++i) {
        bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
    }
    return bytes;
}

// iconv gives up on the first bad character and does not say where; a bad range is
// halved along character boundaries until the bad characters stand alone.
template <typename Piece, typename Convert, typename Fallback>
void convertByHalves(const std::vector<Piece>& pieces, size_t first, size_t last, Convert convert,
                     Fallback fallback)
{
    if (first == last)
        return;
    if (convert(pieces[first], pieces[last - 1]))
        return;
    if (last - first == 1) {
        fallback(pieces[first]);
        return;
    }
    const size_t middle = first + (last - first) / 2;
    convertByHalves(pieces, first, middle, convert, fallback);
    convertByHalves(pieces, middle, last, convert, fallback);
}

struct ByteRange {
    size_t begin;
    size_t end;
};

std::u16string decodeBytes(std::string_view bytes, int codePage)
{
    if (codePage == CodePage::Utf16Le) {
        std::u16string units = unitsFromLe(bytes);
        if (bytes.size() % 2 != 0)
            units.push_back(u'\xFFFD');
        return units;
    }
    const char* name = iconvName(codePage);
    if (std::optional<std::string> whole = convertText(bytes, name, utf16Name))
        return unitsFromLe(*whole);

    std::vector<ByteRange> characters;
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t length = unitLength(codePage, bytes, pos);
        characters.push_back({pos, pos + length});
        pos += length;
    }
    std::u16string units;
    auto convert = [&](const ByteRange& from, const ByteRange& to) {
        const std::optional<std::string> out = convertText(bytes.substr(from.begin, to.end - from.begin), name, utf16Name);
        if (out)
            units += unitsFromLe(*out);
        return out.has_value();
    };
    auto fallback = [&](const ByteRange& character) {
        // Code page 936 texts may carry what Utf8ToGbk made of characters GBK lacks,
        // and the user-defined areas that only GB18030 maps.
        if (codePage == CodePage::Gbk) {
            const std::string_view piece = bytes.substr(character.begin, character.end - character.begin);
            if (std::optional<std::string> out = convertText(piece, iconvName(CodePage::Gb18030), utf16Name)) {
                units += unitsFromLe(*out);
                return;
            }
        }
        units.push_back(u'\xFFFD');
    };
    convertByHalves(characters, 0, characters.size(), convert, fallback);
    return units;
}

bool isHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::string encodeUnits(std::u16string_view units, int codePage, std::string_view replacement)
{
    const std::string le = unitsToLe(units);
    if (codePage == CodePage::Utf16Le)
        return le;
    const char* name = iconvName(codePage);
    if (std::optional<std::string> whole = convertText(le, utf16Name, name))
        return *whole;

    std::vector<ByteRange> characters;
    for (size_t i = 0; i < units.size();) {
        const size_t length = isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1]) ? 2 : 1;
        characters.push_back({2 * i, 2 * (i + length)});
        i += length;
    }
    std::string out;
    auto convert = [&](const ByteRange& from, const ByteRange& to) {
        const std::optional<std::string> piece = convertText(std::string_view(le).substr(from.begin, to.end - from.begin), utf16Name, name);
        if (piece)
            out += *piece;
        return piece.has_value();
    };
    auto fallback = [&](const ByteRange&) { out += replacement; };
    convertByHalves(characters, 0, characters.size(), convert, fallback);
    return out;
}

std::string_view defaultCharacter(int codePage)
{
    return codePage == CodePage::Utf8 ? std::string_view("\xEF\xBF\xBD") : std::string_view("?");
}

std::u16string_view upToZeroUnit(std::u16string_view units)
{
    return units.substr(0, std::min(units.find(u'\0'), units.size()));
}

std::string_view upToNul(std::string_view text, int codePage)
{
    if (codePage != CodePage::Utf16Le)
        return text.substr(0, std::min(text.find('\0'), text.size()));
    for (size_t i = 0; i + 1 < text.size(); i += 2)
        if (text[i] == '\0' && text[i + 1] == '\0')
            return text.substr(0, i);
    return text;
}

// Windows composes a base character and its combining marks before mapping to an
// ANSI code page; only such clusters are normalised, so that compatibility
// ideographs GBK holds keep their own codes.
std::u16string composeMarkedClusters(const std::u16string& units)
{
    const QString text = QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
    QString composed;
    composed.reserve(text.size());
    qsizetype clusterStart = 0;
    bool clusterHasMark = false;
    auto flush = [&](qsizetype end) {
        const QString cluster = text.mid(clusterStart, end - clusterStart);
        composed += clusterHasMark ? cluster.normalized(QString::NormalizationForm_C) : cluster;
    };
    for (qsizetype i = 0; i < text.size();) {
        char32_t codePoint = text.at(i).unicode();
        qsizetype length = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            length = 2;
        }
        if (QChar::isMark(codePoint)) {
            clusterHasMark = true;
        } else {
            flush(i);
            clusterStart = i;
            clusterHasMark = false;
        }
        i += length;
    }
    flush(text.size());
    return composed.toStdU16String();
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    return (c | 0x20) - 'a' + 10;
}

void replaceAll(std::string& text, std::string_view what, std::string_view with)
{
    std::string out;
    size_t from = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        out.append(text, from, at - from);
        out += with;
        from = at + what.size();
    }
    out.append(text, from);
    text = std::move(out);
}

} // namespace

std::u16string MultiByteToUtf16(std::string_view text, int codePage)
{
    if (iconvName(codePage) == nullptr)
        return {};
    std::u16string units = decodeBytes(upToNul(text, codePage), codePage);
    units.push_back(u'\0');
    return units;
}

std::string Utf16ToMultiByte(std::u16string_view units, int codePage)
{
    if (iconvName(codePage) == nullptr)
        return {};
    return encodeUnits(upToZeroUnit(units), codePage, defaultCharacter(codePage));
}

std::string GbkToUtf8(std::string_view gbkText)
{
    return Utf16ToMultiByte(MultiByteToUtf16(gbkText, CodePage::Gbk), CodePage::Utf8);
}

std::string Utf8ToGbk(std::string_view utf8Bytes)
{
    std::optional<std::string> text = convertText(utf8Bytes, iconvName(CodePage::Utf8), iconvName(CodePage::Gb18030));
    if (!text)
        return {};
    text->resize(std::min(text->find('\0'), text->size()));
    return std::move(*text);
}

std::string Utf8BytesToGbk(std::string_view utf8Bytes)
{
    const std::u16string units = composeMarkedClusters(decodeBytes(utf8Bytes, CodePage::Utf8));
    return encodeUnits(units, CodePage::Gbk, defaultCharacter(CodePage::Gbk));
}

std::string UnescapeUnicode(std::string_view input)
{
    std::string text(input);
    if (text.find("&#x") != std::string::npos) {
        replaceAll(text, "&#x", "\\u");
        replaceAll(text, ";", "");
    }

    // One pass from left to right: what a replacement produces is not read again.
    std::unordered_map<char16_t, std::string> replacements;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const bool isEscape = text[i] == '\\' && i + 5 < text.size() && (text[i + 1] | 0x20) == 'u'
                              && std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i) + 2,
                                             text.begin() + static_cast<std::ptrdiff_t>(i) + 6, isHexDigit);
        if (!isEscape) {
            out.push_back(text[i++]);
            continue;
        }
        char16_t unit = 0;
        for (size_t k = i + 2; k < i + 6; ++k)
            unit = static_cast<char16_t>(unit << 4 | hexValue(text[k]));
        auto known = replacements.find(unit);
        if (known == replacements.end()) {
            // A text holds no NUL, so U+0000 has no text either.
            std::string gbkText = unit == 0 ? std::string() : encodeUnits(std::u16string_view(&unit, 1), CodePage::Gbk, "");
            known = replacements.emplace(unit, std::move(gbkText)).first;
        }
        out += known->second;
        i += 6;
    }
    return out;
}
