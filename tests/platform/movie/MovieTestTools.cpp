#include "platform/movie/MovieTestTools.h"

#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cstring>

namespace MovieTestTools {

std::vector<int16_t> noise16(size_t samples, uint32_t seed) {
    std::vector<int16_t> out(samples);
    uint32_t x = seed ? seed : 1;
    for (auto& s : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        s = int16_t(x >> 16);
    }
    return out;
}

QByteArray toBytes(const std::vector<int16_t>& samples) {
    QByteArray bytes(qsizetype(samples.size() * 2), '\0');
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[qsizetype(2 * i)] = char(uint16_t(samples[i]) & 0xFF);
        bytes[qsizetype(2 * i + 1)] = char(uint16_t(samples[i]) >> 8);
    }
    return bytes;
}

std::vector<int16_t> fromBytes(const QByteArray& bytes) {
    std::vector<int16_t> out(size_t(bytes.size() / 2));
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(uint16_t(uint8_t(bytes[qsizetype(2 * i)])) |
                         uint16_t(uint8_t(bytes[qsizetype(2 * i + 1)]) << 8));
    return out;
}

QByteArray decode(const QString& path, const char* format, QString* error) {
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"),
                 {"-nostdin", "-v", "error", "-i", path, "-f", QString::fromLatin1(format), "-"});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitStatus() != QProcess::NormalExit ||
        ffmpeg.exitCode() != 0) {
        if (error)
            *error = QString::fromLocal8Bit(ffmpeg.readAllStandardError());
        return {};
    }
    const QByteArray errors = ffmpeg.readAllStandardError();
    if (error)
        *error = QString::fromLocal8Bit(errors);
    return ffmpeg.readAllStandardOutput();
}

Probe probe(const QString& path) {
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {"-v", "error", "-select_streams", "a:0", "-show_entries",
                   "stream=codec_name,sample_rate,channels,duration", "-of",
                   "default=noprint_wrappers=1", path});
    Probe p;
    if (!ffprobe.waitForFinished(30000) || ffprobe.exitCode() != 0)
        return p;
    for (const QByteArray& line : ffprobe.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QByteArray value = line.mid(eq + 1).trimmed();
        if (key == "codec_name")
            p.codec = QString::fromLatin1(value);
        else if (key == "sample_rate")
            p.sampleRate = value.toInt();
        else if (key == "channels")
            p.channels = value.toInt();
        else if (key == "duration")
            p.duration = value.toDouble();
    }
    p.ok = !p.codec.isEmpty();
    return p;
}

qsizetype findRun(const std::vector<int16_t>& haystack, const std::vector<int16_t>& needle,
                  int channels) {
    if (needle.empty() || needle.size() > haystack.size())
        return needle.empty() ? 0 : -1;
    // Match on a prefix first, then confirm the whole run.
    const size_t probeLength = std::min<size_t>(needle.size(), 64 * size_t(channels));
    for (size_t at = 0; at + needle.size() <= haystack.size(); at += size_t(channels)) {
        if (std::memcmp(haystack.data() + at, needle.data(), probeLength * 2) != 0)
            continue;
        if (std::memcmp(haystack.data() + at, needle.data(), needle.size() * 2) == 0)
            return qsizetype(at);
    }
    return -1;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

} // namespace MovieTestTools
