#include "support/AppFixture.h"

#include "app/ListSelection.h"
#include "platform/TextCodec.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// The user's choice of an item, which (unlike the program's selections) runs the item-selected handler.
void choose(QComboBox* box, int index)
{
    box->setCurrentIndex(index);
    emit box->activated(index);
}

QStringList numbers(int first, int last)
{
    QStringList list;
    for (int i = first; i <= last; ++i)
        list << QString::number(i);
    return list;
}

} // namespace

class OptionCatalogueTest : public AppTest {
protected:
    void SetUp() override { app = start(); }
    const OptionLists& lists() const { return app->window.optionLists(); }

    std::unique_ptr<RunningProgram> app;
};

TEST_F(OptionCatalogueTest, FirstStartShowsEveryDefault)
{
    const std::pair<QComboBox*, const char*> expected[] = {
        {lists().engineType, "中文语音引擎"}, {lists().voice, "小燕(青年女声)"},
        {lists().speed, "正常"},            {lists().volume, "正常"},
        {lists().backgroundSound, "无"},    {lists().numberReading, "数值优先"},
        {lists().textEncoding, "GB2312"},   {lists().textType, "普通"},
        {lists().audioEncoding, "speex"},   {lists().compressionLevel, "7"},
        {lists().audioFormat, "audio/L16;rate=16000"},
    };
    for (const auto& [box, text] : expected) {
        SCOPED_TRACE(box->objectName().toStdString());
        EXPECT_EQ(box->currentText(), QString::fromUtf8(text));
    }
    EXPECT_EQ(items(lists().engineType),
              (QStringList{"中文语音引擎", "英文语音引擎", "方言语音引擎", "多语言语音引擎"}));
    EXPECT_EQ(items(lists().backgroundSound), QStringList{"无"} + numbers(1, 11));
    EXPECT_EQ(items(lists().textEncoding), (QStringList{"AUTO", "GB2312", "GBK", "BIG5", "UNICODE", "GB18030", "UTF8"}));
    EXPECT_EQ(items(lists().numberReading), (QStringList{"数值优先", "完全数值", "完全字符串", "字符串优先"}));
    EXPECT_EQ(items(lists().audioEncoding),
              (QStringList{"raw", "amr", "amr-fx", "amr-wb", "amr-wb-fx", "speex", "speex-wb"}));
    EXPECT_EQ(lists().voice->count(), 23);
    ASSERT_EQ(app->state.voiceList.size(), 23u);
    EXPECT_EQ(app->state.voiceList[22].voiceCode, "aisduck");
    EXPECT_EQ(utf8(app->state.voiceList[22].displayText), "唐老鸭(卡通人物)");
}

TEST_F(OptionCatalogueTest, ChoosingAnEngineTypeRebuildsTheVoicesInStep)
{
    struct Row {
        int engine;
        int count;
        const char* first;
        const char* firstCode;
        const char* lastCode;
    };
    const Row rows[] = {
        {1, 5, "凯瑟琳(青年女声)", "Catherine", "aisTom"},
        {2, 8, "小梅(青年女声[粤语])", "vixm", "aisdalong"},
        {3, 8, "德语", "de", "zh"},
        {0, 23, "小燕(青年女声)", "xiaoyan", "aisduck"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.engine);
        selectByIndex(lists().voice, 2);
        choose(lists().engineType, row.engine);
        EXPECT_EQ(lists().voice->count(), row.count);
        EXPECT_EQ(lists().voice->currentIndex(), 0);
        EXPECT_EQ(lists().voice->currentText(), QString::fromUtf8(row.first));
        ASSERT_EQ(app->state.voiceList.size(), static_cast<size_t>(row.count));
        EXPECT_EQ(app->state.voiceList.front().voiceCode, row.firstCode);
        EXPECT_EQ(app->state.voiceList.back().voiceCode, row.lastCode);
        for (int i = 0; i < row.count; ++i)
            EXPECT_EQ(toQString(app->state.voiceList[static_cast<size_t>(i)].displayText), lists().voice->itemText(i));
    }
    choose(lists().engineType, 3);
    EXPECT_EQ(items(lists().voice), (QStringList{"德语", "俄语", "法语", "葡萄牙语", "日语", "西班牙语", "英语", "中文"}));
}

TEST_F(OptionCatalogueTest, ChoosingAnAudioEncodingRebuildsTheCompressionLevels)
{
    struct Row {
        const char* encoding;
        QStringList levels;
        const char* selected;
    };
    const Row rows[] = {
        {"raw", {"无压缩"}, "无压缩"},
        {"amr", numbers(0, 7), "5"},
        {"amr-wb", numbers(0, 7), "5"},
        {"amr-wb-fx", numbers(0, 7), "5"},
        {"speex-wb", numbers(0, 10), "7"},
        {"speex", numbers(0, 10), "7"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.encoding);
        choose(lists().audioEncoding, lists().audioEncoding->findText(QString::fromUtf8(row.encoding)));
        EXPECT_EQ(items(lists().compressionLevel), row.levels);
        EXPECT_EQ(lists().compressionLevel->currentText(), QString::fromUtf8(row.selected));
    }
}

TEST_F(OptionCatalogueTest, SelectionsByTheProgramRunNoHandler)
{
    choose(lists().audioEncoding, 0); // raw
    selectByIndex(lists().audioEncoding, 1);
    EXPECT_EQ(items(lists().compressionLevel), QStringList{"无压缩"});
    selectByIndex(lists().engineType, 1);
    EXPECT_EQ(lists().voice->count(), 23);

    // Index clamping and prefix matching.
    selectByIndex(lists().speed, 99);
    EXPECT_EQ(lists().speed->currentIndex(), 4);
    selectByIndex(lists().speed, -5);
    EXPECT_EQ(lists().speed->currentIndex(), -1);
    selectByText(lists().audioFormat, "AUDIO/L16;RATE=8");
    EXPECT_EQ(lists().audioFormat->currentIndex(), 0);
    selectByText(lists().audioFormat, "nothing");
    EXPECT_EQ(lists().audioFormat->currentIndex(), 0);
    selectByText(lists().audioEncoding, "amr-w");
    EXPECT_EQ(lists().audioEncoding->currentText(), QStringLiteral("amr-wb"));
}

TEST_F(OptionCatalogueTest, DefaultsButtonRestoresEveryChoiceButNotTheText)
{
    app->window.textBox()->setPlainText(QStringLiteral("用户的文本"));
    choose(lists().engineType, 2);
    selectByIndex(lists().voice, 5);
    choose(lists().audioEncoding, 1); // amr
    selectByIndex(lists().speed, 0);
    selectByIndex(lists().textEncoding, 6);
    selectByIndex(lists().audioFormat, 0);
    selectByIndex(lists().backgroundSound, 11);

    QTest::mouseClick(app->window.defaultsButton(), Qt::LeftButton);

    EXPECT_EQ(lists().engineType->currentIndex(), 0);
    EXPECT_EQ(lists().voice->count(), 23);
    EXPECT_EQ(lists().voice->currentIndex(), 0);
    EXPECT_EQ(app->state.voiceList.front().voiceCode, "xiaoyan");
    EXPECT_EQ(lists().audioEncoding->currentText(), QStringLiteral("speex"));
    EXPECT_EQ(lists().compressionLevel->currentText(), QStringLiteral("7"));
    EXPECT_EQ(lists().compressionLevel->count(), 11);
    EXPECT_EQ(lists().speed->currentIndex(), 2);
    EXPECT_EQ(lists().textEncoding->currentText(), QStringLiteral("GB2312"));
    EXPECT_EQ(lists().audioFormat->currentIndex(), 1);
    EXPECT_EQ(lists().backgroundSound->currentIndex(), 0);
    EXPECT_EQ(app->window.textBox()->toPlainText(), QStringLiteral("用户的文本"));
}
