#include "net/TextSearch.h"

#include <algorithm>

namespace {

constexpr size_t notFound = std::string::npos;

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Byte search; only ASCII letters fold, since GBK trail bytes must match exactly.
size_t findText(const std::string& text, const std::string& part, size_t from, bool caseInsensitive)
{
    if (from > text.size())
        return notFound;
    if (!caseInsensitive)
        return text.find(part, from);
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), part.begin(), part.end(),
                                [](char a, char b) { return foldAscii(a) == foldAscii(b); });
    return at == text.end() && !part.empty() ? notFound : static_cast<size_t>(at - text.begin());
}

void fillList(const std::string& text, const std::string& left, const std::string& right,
              std::vector<std::string>& list)
{
    list.clear();
    for (size_t at = findText(text, left, 0, true); at != notFound; at = findText(text, left, at + 1, true)) {
        const size_t begin = at + left.size();
        const size_t end = findText(text, right, begin, true);
        list.push_back(end == notFound ? std::string() : text.substr(begin, end - begin));
    }
}

} // namespace

std::string TextBetween(const std::string& text, const std::string& left, const std::string& right, int mode,
                        std::vector<std::string>* list)
{
    if (mode == 1) {
        if (list != nullptr && !left.empty() && !right.empty())
            fillList(text, left, right, *list);
        return {};
    }
    const size_t at = text.find(left);
    if (at == notFound)
        return {};
    const size_t begin = at + left.size();
    if (right.empty())
        return text.substr(begin);
    const size_t end = text.find(right, begin);
    return end == notFound ? std::string() : text.substr(begin, end - begin);
}

std::string TextBetweenLast(const std::string& text, const std::string& left, const std::string& right)
{
    const size_t at = text.find(left);
    if (at == notFound)
        return {};
    const size_t begin = at + left.size();
    if (right.empty())
        return text.substr(begin);
    const size_t end = text.rfind(right);
    return end == notFound || end < begin ? std::string() : text.substr(begin, end - begin);
}

bool ContainsText(const std::string& text, const std::string& part, int start, bool caseInsensitive)
{
    // Like the search it stands for, an empty part is never found.
    if (part.empty())
        return false;
    const size_t from = start > 1 ? static_cast<size_t>(start - 1) : 0;
    return findText(text, part, from, caseInsensitive) != notFound;
}

std::string JsonFieldText(const std::string& text, const std::string& key)
{
    return TextBetween(text, "\"" + key + "\":\"", "\"");
}

std::string JsonNumberText(const std::string& text, const std::string& key)
{
    return TextBetween(text, "\"" + key + "\":", ",");
}
