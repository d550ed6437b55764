#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A GBK INI file with the observable behaviour of the Windows profile routines for the values this
// program stores: section and key names compared without regard to ASCII case, blanks around names
// and values ignored, one pair of matching quotes around a value removed, sections and keys created
// when missing, an existing key's value replaced in place.
class IniFile {
public:
    // Values are read with this capacity; longer ones are cut.
    static constexpr size_t kValueCapacity = 10240;

    // A missing or unreadable file is an empty one.
    static IniFile load(const std::filesystem::path& path);

    std::string value(const std::string& section, const std::string& key) const;
    // A value whose edges would be lost to the blank and quote rules is written inside quotes.
    void setValue(const std::string& section, const std::string& key, const std::string& value);

    // Writes the whole file through a temporary beside it; false when it cannot be written.
    bool save(const std::filesystem::path& path) const;

private:
    std::vector<std::string> lines_;
};
