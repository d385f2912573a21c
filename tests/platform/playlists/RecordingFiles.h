#pragma once

#include "platform/movie/MovieWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

#include <cmath>
#include <vector>

// Real recordings in our movie format, and ffprobe's reading of any sound file.
namespace RecordingFiles {

// A recording of `seconds` of a 440 Hz tone (16-bit PCM), made with our movie writer.
inline bool writeRecording(const QString& path, double seconds, uint32_t rate = 44100,
                           uint16_t channels = 2) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    SoundFormat format;
    format.sampleRate = rate;
    format.channels = channels;
    auto writer = MovieWriter::create(path, format);
    if (!writer)
        return false;
    const size_t frames = size_t(std::llround(seconds * rate));
    std::vector<int32_t> block;
    for (size_t done = 0; done < frames;) {
        const size_t count = std::min<size_t>(frames - done, 4096);
        block.assign(count * channels, 0);
        for (size_t i = 0; i < count; ++i) {
            const double t = double(done + i) / rate;
            const auto sample = int32_t(std::sin(2 * M_PI * 440 * t) * 0.3 * 2147483647.0);
            for (uint16_t c = 0; c < channels; ++c)
                block[i * channels + c] = sample;
        }
        if (!writer->append(block.data(), count))
            return false;
        done += count;
    }
    return writer->complete() == 0;
}

struct Probe {
    bool ok = false;
    QString codec;
    int sampleRate = 0;
    int channels = 0;
    double duration = 0;
    QString title;
};

// ffprobe's view of the first sound stream and the file's title tag.
inline Probe probe(const QString& path) {
    QProcess ffprobe;
    ffprobe.start(QStringLiteral("ffprobe"),
                  {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-select_streams"),
                   QStringLiteral("a:0"), QStringLiteral("-show_entries"),
                   QStringLiteral("stream=codec_name,sample_rate,channels:stream_tags=title:"
                                  "format=duration:format_tags=title"),
                   QStringLiteral("-of"), QStringLiteral("json"), path});
    Probe probe;
    if (!ffprobe.waitForFinished(60000) || ffprobe.exitCode() != 0)
        return probe;
    const QJsonObject root = QJsonDocument::fromJson(ffprobe.readAllStandardOutput()).object();
    const QJsonObject stream = root.value("streams").toArray().at(0).toObject();
    const QJsonObject format = root.value("format").toObject();
    probe.codec = stream.value("codec_name").toString();
    probe.sampleRate = stream.value("sample_rate").toString().toInt();
    probe.channels = stream.value("channels").toInt();
    probe.duration = format.value("duration").toString().toDouble();
    probe.title = format.value("tags").toObject().value("title").toString();
    if (probe.title.isEmpty())
        probe.title = stream.value("tags").toObject().value("title").toString();
    probe.ok = !probe.codec.isEmpty();
    return probe;
}

} // namespace RecordingFiles
