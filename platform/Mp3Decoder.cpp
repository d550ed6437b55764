#include "platform/Mp3Decoder.h"

#include <mpg123.h>

#include <memory>
#include <mutex>

namespace {

struct HandleDeleter {
    void operator()(mpg123_handle* handle) const
    {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

} // namespace

std::optional<PcmSound> DecodeMp3File(const std::filesystem::path& file, std::size_t maxBytes)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { mpg123_init(); });

    int error = MPG123_OK;
    std::unique_ptr<mpg123_handle, HandleDeleter> handle(mpg123_new(nullptr, &error));
    if (!handle)
        return std::nullopt;
    mpg123_param(handle.get(), MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    if (mpg123_open(handle.get(), file.c_str()) != MPG123_OK)
        return std::nullopt;

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle.get(), &rate, &channels, &encoding) != MPG123_OK || rate <= 0)
        return std::nullopt;
    // One output format for the whole file, whatever later frames say.
    mpg123_format_none(handle.get());
    if (mpg123_format(handle.get(), rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK)
        return std::nullopt;

    PcmSound sound;
    sound.sampleRate = int(rate);
    sound.channels = channels == MPG123_STEREO ? 2 : 1;
    sound.sample = PcmSound::Sample::Int16;

    unsigned char chunk[32768];
    for (;;) {
        std::size_t got = 0;
        const int result = mpg123_read(handle.get(), chunk, sizeof chunk, &got);
        const std::size_t room = maxBytes - sound.data.size();
        sound.data.append(reinterpret_cast<const char*>(chunk), std::min(got, room));
        if (got >= room)
            break;
        if (result == MPG123_DONE)
            break;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT)
            break;
        if (result == MPG123_OK && got == 0)
            break;
    }
    const std::size_t frame = std::size_t(sound.bytesPerFrame());
    sound.data.resize(sound.data.size() - sound.data.size() % frame);
    if (sound.data.empty())
        return std::nullopt;
    return sound;
}
