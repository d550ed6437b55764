#include "app/CharCount.h"

#include "platform/TextCodec.h"

GbkLength measureGbk(const QString& widgetText, size_t limit)
{
    // Every code point becomes exactly one GBK character (1 byte for ASCII and "?", 2 otherwise),
    // so walking both in step maps byte positions back to QString positions.
    const std::string bytes = fromQString(widgetText);
    GbkLength result;
    result.bytes = bytes.size() + static_cast<size_t>(widgetText.count(u'\n'));
    if (result.bytes <= limit)
        return result;

    size_t used = 0;
    size_t byte = 0;
    qsizetype index = 0;
    while (index < widgetText.size()) {
        const unsigned char lead = static_cast<unsigned char>(bytes[byte]);
        const size_t gbkWidth = lead >= 0x81 ? 2 : 1;
        const size_t width = lead == '\n' ? 2 : gbkWidth;
        if (used + width > limit)
            break;
        used += width;
        byte += gbkWidth;
        const bool pair = widgetText.at(index).isHighSurrogate() && index + 1 < widgetText.size()
            && widgetText.at(index + 1).isLowSurrogate();
        index += pair ? 2 : 1;
    }
    result.cutAt = index;
    return result;
}
