#include "net/RandomText.h"

#include <gtest/gtest.h>

#include <set>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr std::string_view digits = "0123456789";
constexpr std::string_view capitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr std::string_view letterDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Draws often enough that a character missing from the range would show.
std::set<char> drawn(int kind, int length, size_t position, int draws = 4000)
{
    std::set<char> seen;
    for (int i = 0; i < draws; ++i)
        seen.insert(RandomText(kind, length).at(position));
    return seen;
}

std::set<char> setOf(std::string_view characters)
{
    return {characters.begin(), characters.end()};
}

TEST(RandomText, KindsDrawFromTheirWholeAlphabet)
{
    struct Row {
        const char* name;
        int kind;
        size_t position;
        std::string_view alphabet;
    };
    const Row rows[] = {
        {"kind 1 first digit", 1, 0, digits.substr(1)},
        {"kind 1 later digits", 1, 2, digits},
        {"kind 2", 2, 1, capitals},
        {"kind 3", 3, 4, letterDigits},
        {"kind above 3 is kind 1", 4, 0, digits.substr(1)},
        {"kind 0 is kind 3", 0, 3, letterDigits},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(drawn(row.kind, 6, row.position), setOf(row.alphabet));
    }
}

TEST(RandomText, DefaultIsSixLettersOrDigits)
{
    for (int i = 0; i < 200; ++i) {
        const std::string text = RandomText();
        ASSERT_EQ(text.size(), 6u);
        EXPECT_EQ(text.find_first_not_of(letterDigits), std::string::npos) << text;
    }
}

TEST(RandomText, Lengths)
{
    EXPECT_EQ(RandomText(1, 0), "");
    EXPECT_EQ(RandomText(2, -3), "");
    EXPECT_EQ(RandomText(1, 1).size(), 1u);
    EXPECT_EQ(RandomText(3, 9).size(), 9u);
    const std::string longDigits = RandomText(1, 15);
    EXPECT_EQ(longDigits.size(), 15u);
    EXPECT_EQ(longDigits.find_first_not_of(digits), std::string::npos);
    EXPECT_NE(longDigits.front(), '0');
}

TEST(RandomText, ThreadsDrawIndependently)
{
    constexpr int threadCount = 8;
    std::vector<std::string> results(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([&results, t] {
            for (int i = 0; i < 500; ++i)
                results[static_cast<size_t>(t)] += RandomText(3, 8);
        });
    for (std::thread& thread : threads)
        thread.join();
    const std::set<std::string> distinct(results.begin(), results.end());
    EXPECT_EQ(distinct.size(), static_cast<size_t>(threadCount)) << "two threads drew the same sequence";
    for (const std::string& result : results)
        EXPECT_EQ(result.find_first_not_of(letterDigits), std::string::npos);
}

} // namespace
