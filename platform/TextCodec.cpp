#include "platform/TextCodec.h"

#include <QString>

#include <cerrno>
#include <iconv.h>

namespace {

class Converter {
public:
    Converter(const char* from, const char* to) : handle_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (ok())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; returns errno of the stop (0 at the end of input).
    int run(std::string_view& in, std::string& out)
    {
        char buffer[4096];
        while (!in.empty()) {
            char* src = const_cast<char*>(in.data());
            size_t srcLeft = in.size();
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
            const int err = rc == static_cast<size_t>(-1) ? errno : 0;
            out.append(buffer, static_cast<size_t>(dst - buffer));
            in.remove_prefix(in.size() - srcLeft);
            if (err != 0 && err != E2BIG)
                return err;
        }
        return 0;
    }

private:
    iconv_t handle_;
};

size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

std::optional<std::string> convertText(std::string_view in, const char* fromCode, const char* toCode)
{
    Converter converter(fromCode, toCode);
    if (!converter.ok())
        return std::nullopt;
    std::string out;
    out.reserve(in.size() * 2);
    if (converter.run(in, out) != 0)
        return std::nullopt;
    return out;
}

std::string gbk(std::string_view utf8Text)
{
    Converter converter("UTF-8", "GBK");
    std::string out;
    out.reserve(utf8Text.size());
    while (converter.ok() && !utf8Text.empty()) {
        if (converter.run(utf8Text, out) == 0)
            break;
        out.push_back('?');
        const size_t skip = std::min(utf8SequenceLength(static_cast<unsigned char>(utf8Text.front())), utf8Text.size());
        utf8Text.remove_prefix(skip);
    }
    return out;
}

std::string utf8(std::string_view gbkText)
{
    // GB18030 reads every GBK text the same way and also the four-byte forms that web answers
    // converted to GB18030 may carry.
    Converter converter("GB18030", "UTF-8");
    std::string out;
    out.reserve(gbkText.size() * 3 / 2);
    while (converter.ok() && !gbkText.empty()) {
        if (converter.run(gbkText, out) == 0)
            break;
        out.append("\xEF\xBF\xBD");
        gbkText.remove_prefix(1);
    }
    return out;
}

QString toQString(std::string_view gbkText)
{
    const std::string text = utf8(gbkText);
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string fromQString(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return gbk(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}
