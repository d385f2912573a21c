// The flattened form of the channel settings, as kept under the "AudioSettings" preference:
//   "BVCS"  magic
//   u16     version (1)
//   u32     length of the payload
//   payload rate u32, channels u8, sample bits u8, compression u8, reserved u8,
//           monitor volume u16, device name length u16, device name (UTF-8)
//   u32     CRC-32 of everything before it
// All numbers big-endian. Anything else is refused without touching the record.
#include "platform/audio/SequenceGrabber.h"
#include "platform/movie/AtomBuffer.h"
#include "platform/movie/Crc32.h"

namespace {
constexpr uint32_t kMagic = 0x42564353; // "BVCS"
constexpr uint16_t kVersion = 1;
constexpr qsizetype kHeaderBytes = 10;
constexpr qsizetype kFixedPayloadBytes = 12;
constexpr int kMaxDeviceNameBytes = 1024;
} // namespace

bool ChannelSettings::isValid() const {
    if (channels < 1 || channels > 2 || sampleRate < 1000 || sampleRate > 65535)
        return false;
    if (sampleBits != 16 && sampleBits != 24)
        return false;
    if (compression != Compression::None && compression != Compression::Ima4)
        return false;
    if (compression == Compression::Ima4 && sampleBits != 16)
        return false;
    return monitorVolume >= 0 && monitorVolume <= 256 &&
           inputDevice.toUtf8().size() <= kMaxDeviceNameBytes;
}

OSErr PutUserDataIntoHandle(const ChannelSettings& settings, QByteArray* out) {
    if (!out || !settings.isValid())
        return GrabberErr::paramErr;
    const QByteArray device = settings.inputDevice.toUtf8();
    AtomBuffer b;
    b.u32(kMagic);
    b.u16(kVersion);
    b.u32(uint32_t(kFixedPayloadBytes + device.size()));
    b.u32(uint32_t(settings.sampleRate));
    b.u8(uint8_t(settings.channels));
    b.u8(uint8_t(settings.sampleBits));
    b.u8(uint8_t(settings.compression));
    b.u8(0);
    b.u16(uint16_t(settings.monitorVolume));
    b.u16(uint16_t(device.size()));
    b.bytes(device);
    b.u32(Crc32::compute(b.data().constData(), size_t(b.size())));
    *out = b.data();
    return GrabberErr::noErr;
}

OSErr NewUserDataFromHandle(const QByteArray& bytes, ChannelSettings* out) {
    if (!out)
        return GrabberErr::paramErr;
    if (bytes.size() < kHeaderBytes + kFixedPayloadBytes + 4)
        return GrabberErr::badSettings;
    AtomReader r(bytes);
    if (r.u32() != kMagic || r.u16() != kVersion)
        return GrabberErr::badSettings;
    const uint32_t length = r.u32();
    if (qsizetype(length) != bytes.size() - kHeaderBytes - 4)
        return GrabberErr::badSettings;
    const qsizetype crcAt = bytes.size() - 4;
    AtomReader crcReader(bytes, crcAt);
    if (crcReader.u32() != Crc32::compute(bytes.constData(), size_t(crcAt)))
        return GrabberErr::badSettings;

    ChannelSettings s;
    s.sampleRate = int(r.u32());
    s.channels = r.u8();
    s.sampleBits = r.u8();
    s.compression = ChannelSettings::Compression(r.u8());
    r.skip(1);
    s.monitorVolume = r.u16();
    const uint16_t nameBytes = r.u16();
    if (r.failed() || r.pos() + nameBytes != crcAt)
        return GrabberErr::badSettings;
    s.inputDevice = QString::fromUtf8(bytes.mid(r.pos(), nameBytes));
    if (!s.isValid())
        return GrabberErr::badSettings;
    *out = s;
    return GrabberErr::noErr;
}
