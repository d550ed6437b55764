#include "net/ConvertBase.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

constexpr std::string_view digitAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string chineseNumeral(int value)
{
    static const char* const units[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    std::string numeral;
    if (value >= 10) {
        if (value >= 20)
            numeral += units[value / 10];
        numeral += "十";
    }
    numeral += units[value % 10];
    return gbk(numeral);
}

int digitValue(char c)
{
    const size_t at = digitAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

// Little-endian limbs of 32 bits.
using BigNumber = std::vector<std::uint32_t>;

void multiplyAdd(BigNumber& number, std::uint32_t factor, std::uint32_t addend)
{
    std::uint64_t carry = addend;
    for (std::uint32_t& limb : number) {
        const std::uint64_t product = static_cast<std::uint64_t>(limb) * factor + carry;
        limb = static_cast<std::uint32_t>(product);
        carry = product >> 32;
    }
    if (carry != 0)
        number.push_back(static_cast<std::uint32_t>(carry));
}

std::uint32_t divideInPlace(BigNumber& number, std::uint32_t divisor)
{
    std::uint64_t remainder = 0;
    for (size_t i = number.size(); i-- > 0;) {
        const std::uint64_t current = remainder << 32 | number[i];
        number[i] = static_cast<std::uint32_t>(current / divisor);
        remainder = current % divisor;
    }
    while (!number.empty() && number.back() == 0)
        number.pop_back();
    return static_cast<std::uint32_t>(remainder);
}

// The largest power of base below 2^32, and its exponent: digits go in and come
// out that many at a time.
std::pair<std::uint32_t, int> digitGroup(int base)
{
    std::uint64_t power = static_cast<std::uint64_t>(base);
    int digits = 1;
    while (power * static_cast<std::uint64_t>(base) <= UINT32_MAX) {
        power *= static_cast<std::uint64_t>(base);
        ++digits;
    }
    return {static_cast<std::uint32_t>(power), digits};
}

std::string convertDigits(const std::string& number, int from, int to)
{
    const auto [inPower, inDigits] = digitGroup(from);
    BigNumber value;
    const size_t firstSignificant = std::min(number.find_first_not_of('0'), number.size());
    const std::string_view digits = std::string_view(number).substr(firstSignificant);
    size_t pos = 0;
    while (pos < digits.size()) {
        const size_t take = pos == 0 && digits.size() % static_cast<size_t>(inDigits) != 0
                                ? digits.size() % static_cast<size_t>(inDigits)
                                : static_cast<size_t>(inDigits);
        std::uint32_t factor = 1;
        std::uint32_t group = 0;
        for (size_t k = 0; k < take; ++k) {
            factor *= static_cast<std::uint32_t>(from);
            group = group * static_cast<std::uint32_t>(from) + static_cast<std::uint32_t>(digitValue(digits[pos + k]));
        }
        multiplyAdd(value, factor, group);
        pos += take;
    }

    const auto [outPower, outDigits] = digitGroup(to);
    std::string reversed;
    while (!value.empty()) {
        std::uint32_t group = divideInPlace(value, outPower);
        for (int k = 0; k < outDigits && (group != 0 || !value.empty()); ++k) {
            reversed.push_back(digitAlphabet[group % static_cast<std::uint32_t>(to)]);
            group /= static_cast<std::uint32_t>(to);
        }
    }
    if (reversed.empty())
        return "0";
    return std::string(reversed.rbegin(), reversed.rend());
}

} // namespace

std::string ToHalfWidth(std::string_view gbkText)
{
    std::string out;
    out.reserve(gbkText.size());
    for (size_t i = 0; i < gbkText.size();) {
        const auto lead = static_cast<unsigned char>(gbkText[i]);
        if (lead < 0x81 || lead == 0xFF || i + 1 == gbkText.size()) {
            out.push_back(gbkText[i++]);
            continue;
        }
        const auto trail = static_cast<unsigned char>(gbkText[i + 1]);
        // Row A3 holds U+FF01..U+FF5E in order, but for the full-width yen (A3A4)
        // and macron (A3FE), which have no ASCII form; A1A1 is the ideographic space.
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFD && trail != 0xA4)
            out.push_back(static_cast<char>(trail - 0x80));
        else if (lead == 0xA1 && trail == 0xA1)
            out.push_back(' ');
        else
            out.append(gbkText.substr(i, 2));
        i += 2;
    }
    return out;
}

std::string ConvertBase(std::string_view number, int from, int to)
{
    if (from < 2 || from > 36 || to < 2 || to > 36)
        return gbk("参数错误-进制只能在2-36之间");

    std::string normalised = ToHalfWidth(number);
    for (size_t i = 0; i < normalised.size(); ++i) {
        const auto byte = static_cast<unsigned char>(normalised[i]);
        if (byte >= 0x81 && byte != 0xFF) {
            ++i; // a trail byte is never a letter to raise
        } else if (byte >= 'a' && byte <= 'z') {
            normalised[i] = static_cast<char>(byte - ('a' - 'A'));
        }
    }

    const bool valid = !normalised.empty() && std::all_of(normalised.begin(), normalised.end(), [from](char c) {
        const int value = digitValue(c);
        return value >= 0 && value < from;
    });
    if (!valid)
        return gbk("参数错误-") + normalised + gbk("不是一个有效的") + chineseNumeral(from) + gbk("进制数！");
    if (from == to)
        return normalised;
    return convertDigits(normalised, from, to);
}
