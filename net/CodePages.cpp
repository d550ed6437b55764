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

struct Character {
    size_t begin;
    size_t end;
    bool wellFormed; // framed completely; iconv may still lack a mapping for it
};

// The character that starts at pos, as UTF-8 frames it. A broken sequence is framed
// as its longest well-formed start, so that it costs one U+FFFD and the byte that
// broke it is read again as the start of the next character.
Character utf8Character(std::string_view bytes, size_t pos)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80)
        return {pos, pos + 1, true};
    size_t length = 0;
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
    } else {
        return {pos, pos + 1, false};
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
    return {pos, pos + taken, taken == length};
}

// Lead-byte code pages: a byte below 0x80 alone, a lead 0x81-0xFE with a trail
// 0x40-0xFE (not 0x7F), or, in the GB18030 family, lead digit lead digit.
Character doubleByteCharacter(std::string_view bytes, size_t pos, bool fourByteForms)
{
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    if (lead < 0x80)
        return {pos, pos + 1, true};
    if (!inRange(lead, 0x81, 0xFE) || pos + 1 >= bytes.size())
        return {pos, pos + 1, lead == 0x80};
    const auto second = static_cast<unsigned char>(bytes[pos + 1]);
    if (fourByteForms && inRange(second, 0x30, 0x39) && pos + 3 < bytes.size()
        && inRange(static_cast<unsigned char>(bytes[pos + 2]), 0x81, 0xFE)
        && inRange(static_cast<unsigned char>(bytes[pos + 3]), 0x30, 0x39))
        return {pos, pos + 4, true};
    if (second >= 0x40 && second != 0x7F && second != 0xFF)
        return {pos, pos + 2, true};
    return {pos, pos + 1, false};
}

Character characterAt(int codePage, std::string_view bytes, size_t pos)
{
    if (codePage == CodePage::Utf8)
        return utf8Character(bytes, pos);
    return doubleByteCharacter(bytes, pos, codePage != CodePage::Big5);
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

// The slow path once iconv has refused the whole input, which it does without
// saying where. Malformed characters are replaced without asking iconv; each run of
// well-formed ones is converted at once and, should iconv lack a mapping inside it,
// halved along character boundaries until the unmapped characters stand alone.
// Convert appends and answers whether iconv took the bytes; Replace appends the
// stand-in for one character.
template <typename Convert, typename Replace>
void convertCharacters(const std::vector<Character>& characters, Convert convert, Replace replace)
{
    auto byHalves = [&](auto& self, size_t first, size_t last) -> void {
        if (first == last || convert(characters[first].begin, characters[last - 1].end))
            return;
        if (last - first == 1) {
            replace(characters[first]);
            return;
        }
        const size_t middle = first + (last - first) / 2;
        self(self, first, middle);
        self(self, middle, last);
    };
    size_t runStart = 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (characters[i].wellFormed)
            continue;
        byHalves(byHalves, runStart, i);
        replace(characters[i]);
        runStart = i + 1;
    }
    byHalves(byHalves, runStart, characters.size());
}

std::u16string decodeBytes(std::string_view bytes, int codePage)
{
    if (codePage == CodePage::Utf16Le) {
        std::u16string units = unitsFromLe(bytes);
        if (bytes.size() % 2 != 0)
            units.push_back(u'\xFFFD');
        return units;
    }
    if (std::optional<std::string> whole = convertText(bytes, iconvName(codePage), utf16Name))
        return unitsFromLe(*whole);

    // Code page 936 texts may carry what Utf8ToGbk made of characters GBK lacks, and
    // the user-defined areas that only GB18030 maps; GB18030 reads every GBK pair as
    // GBK does, and GBK's one single byte beyond ASCII, the euro sign, is marked
    // malformed here and given its character directly. One converter for the whole
    // slow path also spares glibc loading and unloading two modules in turn.
    const bool gbk = codePage == CodePage::Gbk;
    const char* name = iconvName(gbk ? CodePage::Gb18030 : codePage);
    std::vector<Character> characters;
    for (size_t pos = 0; pos < bytes.size();) {
        Character character = characterAt(codePage, bytes, pos);
        if (gbk && bytes[pos] == '\x80')
            character.wellFormed = false;
        characters.push_back(character);
        pos = character.end;
    }
    std::u16string units;
    auto convert = [&](size_t begin, size_t end) {
        const std::optional<std::string> out = convertText(bytes.substr(begin, end - begin), name, utf16Name);
        if (out)
            units += unitsFromLe(*out);
        return out.has_value();
    };
    auto replace = [&](const Character& character) {
        units.push_back(gbk && bytes[character.begin] == '\x80' ? u'\x20AC' : u'\xFFFD');
    };
    convertCharacters(characters, convert, replace);
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

    // Byte ranges of the little-endian form; a lone surrogate is malformed.
    std::vector<Character> characters;
    for (size_t i = 0; i < units.size();) {
        if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            characters.push_back({2 * i, 2 * i + 4, true});
            i += 2;
        } else {
            characters.push_back({2 * i, 2 * i + 2, !isHighSurrogate(units[i]) && !isLowSurrogate(units[i])});
            ++i;
        }
    }
    std::string out;
    auto convert = [&](size_t begin, size_t end) {
        const std::optional<std::string> piece = convertText(std::string_view(le).substr(begin, end - begin), utf16Name, name);
        if (piece)
            out += *piece;
        return piece.has_value();
    };
    auto replace = [&](const Character&) { out += replacement; };
    convertCharacters(characters, convert, replace);
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
