#pragma once

#include "platform/movie/ImaAdpcm.h"
#include "platform/movie/MovieHeader.h"

#include <QString>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Writes one recording into a QuickTime movie file as the sound arrives, so that at any moment
// the file is either complete or repairable: the head (with our leading atom) goes out first,
// the sound is appended and synced at least twice a second, and completing it closes the mdat
// and writes the movie atom. The file is locked while it is written, and noted in the recording
// journal (when a run keeps one for its folder) until it is complete. Not thread-safe: one
// thread (the capture layer's writer) owns it.
class MovieWriter {
public:
    // How often written sound is forced to the disk.
    static constexpr std::chrono::milliseconds kSyncInterval{500};

    // Past the file size limit, write() must fail with EFBIG instead of the process being
    // killed by SIGXFSZ, so that a recording can end cleanly: this ignores the signal,
    // process-wide, once.
    static void ignoreFileSizeSignal();

    // Creates or replaces the file at `path`, locks it and writes its head. Null on failure,
    // with the errno value and a readable reason.
    static std::unique_ptr<MovieWriter> create(const QString& path, const SoundFormat& format,
                                               int* errorCode = nullptr, QString* error = nullptr);
    // Closes the file. Unless complete() ran, it stays as a crash would leave it: repairable.
    ~MovieWriter();
    MovieWriter(const MovieWriter&) = delete;
    MovieWriter& operator=(const MovieWriter&) = delete;

    // Appends interleaved frames of left-justified 32-bit samples. False once writing failed
    // (see error()); what was written before stays.
    bool append(const int32_t* frames, size_t count);
    // Syncs when the last sync is older than kSyncInterval and something was written since.
    void syncIfDue();
    // Pads a partial IMA packet with silence, closes the mdat and writes the movie atom.
    // Answers 0 or an errno value. Also completes a file whose writing failed, for what is on
    // the disk. Without `sync`, the file is synced when the writer is destroyed.
    int complete(bool sync = true);

    const SoundFormat& format() const { return _tag.format; }
    const QString& path() const { return _path; }
    // Frames the file holds (whole packets written; a pending partial IMA packet excluded).
    uint64_t framesWritten() const;
    int error() const { return _error; }
    const QString& errorText() const { return _errorText; }

    // Tests: also keep the IMA encoder's reconstruction of everything encoded.
    void keepReconstruction(std::vector<int16_t>* sink) { _reconstruction = sink; }

private:
    MovieWriter(int fd, QString path, const MovieHeader::RecordingTag& tag);
    bool writeBytes(const uint8_t* bytes, size_t size);
    void fail(int code, const QString& what);
    void encode(const int32_t* frames, size_t count);

    int _fd;
    QString _path;
    MovieHeader::RecordingTag _tag;
    std::optional<ImaEncoder> _ima;
    std::vector<int16_t> _imaPending; // frames of the partial IMA packet, interleaved
    std::vector<uint8_t> _out;        // encoded bytes of one append
    uint64_t _dataBytes = 0;          // sound bytes that reached the file
    bool _dirty = false;
    bool _completed = false;
    bool _completedWhole = false; // complete() wrote the movie atom
    bool _journaled = false;      // noted in the recording journal as begun
    int _error = 0;
    QString _errorText;
    std::chrono::steady_clock::time_point _lastSync;
    std::vector<int16_t>* _reconstruction = nullptr;
};
