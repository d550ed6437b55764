#include "platform/TextCodec.h"
#include "speech/SessionParameters.h"
#include "support/FakeSynthesisView.h"

#include <gtest/gtest.h>

namespace {

const std::string kDefaults =
    "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad";

struct Row {
    const char* name;
    std::function<void(SynthesisSettings&)> change;
    std::string expected;
};

} // namespace

TEST(SessionParameters, PiecesFollowTheChoices)
{
    const std::vector<Row> rows = {
        {"defaults", [](SynthesisSettings&) {}, kDefaults},
        {"raw has no level, whatever the level list shows",
         [](SynthesisSettings& s) {
             s.audioEncoding = {0, "raw"};
             s.compressionLevel = {0, gbk("无压缩")};
         },
         "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=raw,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
        {"amr with 5",
         [](SynthesisSettings& s) {
             s.audioEncoding = {1, "amr"};
             s.compressionLevel = {5, "5"};
         },
         "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=0,aue=amr;5,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
        {"last background sound", [](SynthesisSettings& s) { s.backgroundSound = {11, "11"}; },
         "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=text,tte=GB2312,bgs=11,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
        {"ssml with AUTO",
         [](SynthesisSettings& s) {
             s.textType = {1, "ssml"};
             s.textEncoding = {0, "AUTO"};
         },
         "ssm=1,vcn=xiaoyan,spd=medium,vol=medium,ttp=ssml,tte=AUTO,bgs=0,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
        {"slowest, loudest, third voice, 8000 Hz, every digit",
         [](SynthesisSettings& s) {
             s.speed = {0, gbk("最慢")};
             s.volume = {4, gbk("最高")};
             s.voiceIndex = {2, gbk("小峰(青年男声)")};
             s.audioFormat = {0, "audio/L16;rate=8000"};
             s.numberReading = {2, gbk("完全字符串")};
         },
         "ssm=1,vcn=vixf,spd=x-slow,vol=x-loud,ttp=text,tte=GB2312,bgs=0,aue=speex;7,auf=audio/L16;rate=8000,rdn=2,emot=sad"},
        {"fastest, softest, speex-wb 10",
         [](SynthesisSettings& s) {
             s.speed = {4, gbk("最快")};
             s.volume = {0, gbk("最低")};
             s.audioEncoding = {6, "speex-wb"};
             s.compressionLevel = {10, "10"};
         },
         "ssm=1,vcn=xiaoyan,spd=x-fast,vol=x-soft,ttp=text,tte=GB2312,bgs=0,aue=speex-wb;10,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
        {"slow and soft, loud", [](SynthesisSettings& s) {
             s.speed = {1, gbk("较慢")};
             s.volume = {1, gbk("较低")};
         },
         "ssm=1,vcn=xiaoyan,spd=slow,vol=soft,ttp=text,tte=GB2312,bgs=0,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
        {"fast and loud", [](SynthesisSettings& s) {
             s.speed = {3, gbk("较快")};
             s.volume = {3, gbk("较高")};
         },
         "ssm=1,vcn=xiaoyan,spd=fast,vol=loud,ttp=text,tte=GB2312,bgs=0,aue=speex;7,auf=audio/L16;rate=16000,rdn=0,emot=sad"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeSynthesisView view;
        row.change(view.settings);
        const auto first = BuildSessionParameters(view.settings, view.voices);
        ASSERT_TRUE(first.has_value());
        EXPECT_EQ(*first, row.expected);
        // Unchanged choices give the same string again.
        EXPECT_EQ(BuildSessionParameters(view.settings, view.voices), first);
    }
}

TEST(SessionParameters, IncompleteChoicesMakeNoString)
{
    const std::vector<std::pair<const char*, std::function<void(FakeSynthesisView&)>>> rows = {
        {"no voice", [](FakeSynthesisView& v) { v.settings.voiceIndex = {-1, ""}; }},
        {"voice beyond the list", [](FakeSynthesisView& v) { v.settings.voiceIndex = {3, "?"}; }},
        {"empty voice list", [](FakeSynthesisView& v) { v.voices.clear(); }},
        {"no compression level", [](FakeSynthesisView& v) { v.settings.compressionLevel = {-1, ""}; }},
        {"no speed", [](FakeSynthesisView& v) { v.settings.speed = {-1, ""}; }},
        {"speed beyond the table", [](FakeSynthesisView& v) { v.settings.speed = {5, "?"}; }},
        {"no volume", [](FakeSynthesisView& v) { v.settings.volume = {-1, ""}; }},
        {"no text type", [](FakeSynthesisView& v) { v.settings.textType = {-1, ""}; }},
        {"text type beyond the table", [](FakeSynthesisView& v) { v.settings.textType = {2, "?"}; }},
    };
    for (const auto& [name, change] : rows) {
        SCOPED_TRACE(name);
        FakeSynthesisView view;
        change(view);
        EXPECT_FALSE(SynthesisSettingsComplete(view.settings, view.voices));
        EXPECT_FALSE(BuildSessionParameters(view.settings, view.voices).has_value());
    }
    FakeSynthesisView complete;
    EXPECT_TRUE(SynthesisSettingsComplete(complete.settings, complete.voices));
}
