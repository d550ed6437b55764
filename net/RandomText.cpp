#include "net/RandomText.h"

#include <random>
#include <string_view>

namespace {

std::mt19937& generator()
{
    // One generator per thread: no lock, and no two threads share a sequence.
    thread_local std::mt19937 engine = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device(), device(), device(), device(), device()};
        return std::mt19937(seed);
    }();
    return engine;
}

char drawFrom(std::string_view alphabet)
{
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    return alphabet[pick(generator())];
}

} // namespace

std::string RandomText(int kind, int length)
{
    if (kind > 3)
        kind = 1;
    else if (kind < 1)
        kind = 3;

    std::string text;
    for (int i = 0; i < length; ++i) {
        switch (kind) {
        case 1:
            text.push_back(drawFrom(i == 0 ? "123456789" : "0123456789"));
            break;
        case 2:
            text.push_back(drawFrom("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
            break;
        default:
            text.push_back(drawFrom("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"));
            break;
        }
    }
    return text;
}
