#pragma once

#include <string>
#include <vector>

// Answers of web services are searched as text between markers, never parsed.
// Texts are GBK byte strings; positions are 1-based, 0 meaning "from the start".

// mode 1 is list mode: every occurrence of left (case-insensitive) fills *list and the result is empty.
std::string TextBetween(const std::string& text, const std::string& left, const std::string& right,
                        int mode = 0, std::vector<std::string>* list = nullptr);
std::string TextBetweenLast(const std::string& text, const std::string& left, const std::string& right);
bool ContainsText(const std::string& text, const std::string& part, int start = 0, bool caseInsensitive = false);
std::string JsonFieldText(const std::string& text, const std::string& key);
std::string JsonNumberText(const std::string& text, const std::string& key);
