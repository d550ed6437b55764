#include "app/IniFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

std::string trim(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// The section name of a "[name]" line, or nullopt for other lines.
std::optional<std::string> sectionName(const std::string& line)
{
    const std::string text = trim(line);
    if (text.size() < 2 || text.front() != '[')
        return std::nullopt;
    const size_t close = text.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(std::string_view(text).substr(1, close - 1));
}

bool isKeyLine(const std::string& line, const std::string& key)
{
    const size_t equals = line.find('=');
    return equals != std::string::npos && sameName(trim(std::string_view(line).substr(0, equals)), key);
}

std::string unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool needsQuotes(const std::string& value)
{
    if (value.empty())
        return false;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const auto quote = [](char c) { return c == '"' || c == '\''; };
    return blank(value.front()) || blank(value.back()) || (value.size() >= 2 && quote(value.front()) && value.back() == value.front());
}

} // namespace

IniFile IniFile::load(const std::filesystem::path& path)
{
    IniFile file;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        file.lines_.push_back(line);
    }
    return file;
}

std::string IniFile::value(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (const std::optional<std::string> name = sectionName(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (inSection && isKeyLine(line, key)) {
            std::string found = unquote(trim(std::string_view(line).substr(line.find('=') + 1)));
            if (found.size() > kValueCapacity)
                found.resize(kValueCapacity);
            return found;
        }
    }
    return {};
}

void IniFile::setValue(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string entry = key + "=" + (needsQuotes(value) ? "\"" + value + "\"" : value);
    std::optional<size_t> sectionEnd;
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (const std::optional<std::string> name = sectionName(lines_[i])) {
            if (inSection)
                break;
            inSection = sameName(*name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (isKeyLine(lines_[i], key)) {
            lines_[i] = entry;
            return;
        }
        if (!trim(lines_[i]).empty())
            sectionEnd = i + 1;
    }
    if (sectionEnd) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), entry);
        return;
    }
    lines_.push_back("[" + section + "]");
    lines_.push_back(entry);
}

bool IniFile::save(const std::filesystem::path& path) const
{
    std::ostringstream text;
    for (const std::string& line : lines_)
        text << line << "\r\n";
    const std::string bytes = text.str();

    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
