#pragma once

#include <string>

// length random characters, each drawn uniformly. kind 1: decimal digits, the first
// never "0"; kind 2: "A" to "Z"; kind 3: letters of either case and digits. A kind
// above 3 is kind 1, one below 1 is kind 3. Safe to call from any thread.
std::string RandomText(int kind = 3, int length = 6);
