// The sound settings bytes kept in the preferences: anything is refused, or read into valid
// settings that flatten into bytes which read back as the same settings.
#include "platform/audio/SequenceGrabber.h"

#include <QByteArray>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ChannelSettings settings;
    if (NewUserDataFromHandle(bytes, &settings) != 0)
        return 0;
    QByteArray again;
    ChannelSettings reread;
    if (!settings.isValid() || PutUserDataIntoHandle(settings, &again) != 0 ||
        NewUserDataFromHandle(again, &reread) != 0 || !(reread == settings))
        std::abort();
    return 0;
}
