#pragma once

#include <string>
#include <string_view>

// The number (digits of "0-9A-Z", either case, full-width forms accepted) from one
// base to another, 2 to 36, of any length. Answers an error text in place of a
// number when a base is out of range or a digit does not belong to the base.
std::string ConvertBase(std::string_view number, int from, int to);

// Full-width ASCII forms of a GBK text (row A3, and the ideographic space) as their
// ASCII characters; every other byte stays as it is.
std::string ToHalfWidth(std::string_view gbkText);
