#pragma once

#include <QDateTime>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

// The overview of a sound file's waveform: for each of a fixed number of equal stretches of the
// file, the largest magnitude of any sample (0 to 1). Computed on a worker thread and kept in
// memory, per file and version, for as long as the program runs.
namespace WaveformPeaks {

constexpr int kBuckets = 2048;

struct Overview {
    std::vector<float> peaks; // kBuckets of them; empty when the file could not be read
    int64_t frames = 0;       // the sound's length at its own rate
    int rate = 0;
    QString failure; // why the file could not be read, in a user's words
};

// Decodes the whole file; `cancel`, when set, ends the work early (the result is then empty).
// Any thread.
Overview compute(const QString& path, const std::atomic<bool>* cancel = nullptr);

// The overview kept for the file as it is now (same size and time of change), or null.
std::shared_ptr<const Overview> cached(const QString& path);
// Keeps it for the file as it is now.
void keep(const QString& path, std::shared_ptr<const Overview> overview);

} // namespace WaveformPeaks
