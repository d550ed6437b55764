#include "speech/WavWriter.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

std::uint32_t le32(const std::string& b, std::size_t at)
{
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8
        | std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

std::uint16_t le16(const std::string& b, std::size_t at)
{
    return std::uint16_t(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

} // namespace

TEST(BuildWav, HeaderFieldsAndAudio)
{
    const ListChoice rate8000{0, "audio/L16;rate=8000"};
    const ListChoice rate16000{1, "audio/L16;rate=16000"};
    std::string thousand(1000, '\0');
    for (std::size_t i = 0; i < thousand.size(); ++i)
        thousand[i] = char(i * 7);
    struct Row {
        const char* name;
        std::string audio;
        ListChoice format;
        std::uint32_t rate;
    };
    const std::vector<Row> rows = {
        {"empty audio", "", rate16000, 16000},
        {"1000 bytes at 16000", thousand, rate16000, 16000},
        {"1000 bytes at 8000", thousand, rate8000, 8000},
        {"odd length, no pad byte", std::string(1001, '\x5a'), rate16000, 16000},
        // The rate goes by position, not by the item's text.
        {"no format selected", "ab", ListChoice{-1, ""}, 16000},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string input = row.audio;
        const std::string wav = BuildWav(row.audio, row.format);
        const auto n = std::uint32_t(row.audio.size());
        ASSERT_EQ(wav.size(), 44 + row.audio.size());
        EXPECT_EQ(wav.substr(0, 4), "RIFF");
        EXPECT_EQ(le32(wav, 4), n + 36);
        EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(le32(wav, 16), 16u);
        EXPECT_EQ(le16(wav, 20), 1);
        EXPECT_EQ(le16(wav, 22), 1);
        EXPECT_EQ(le32(wav, 24), row.rate);
        EXPECT_EQ(le32(wav, 28), row.rate * 2);
        EXPECT_EQ(le16(wav, 32), 2);
        EXPECT_EQ(le16(wav, 34), 16);
        EXPECT_EQ(wav.substr(36, 4), "data");
        EXPECT_EQ(le32(wav, 40), n);
        EXPECT_EQ(wav.substr(44), row.audio);
        EXPECT_EQ(row.audio, input);
    }
}
