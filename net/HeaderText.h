#pragma once

#include <string>
#include <vector>

// Small text pieces that the request operations share when they read and write header blocks.

// The text with spaces removed at both ends.
std::string trimSpaces(const std::string& text);
// The text with every space removed.
std::string withoutSpaces(std::string text);
// ASCII letters upper-cased.
std::string upperAscii(std::string text);
// ASCII comparison without regard to letter case.
bool equalsNoCase(const std::string& a, const std::string& b);
// A block split at "\r\n"; a trailing "\r\n" adds no empty last line.
std::vector<std::string> splitLines(const std::string& block);
