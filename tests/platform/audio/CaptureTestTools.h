#pragma once

#include "platform/audio/SequenceGrabber.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Helpers of the capture tests that run in the audio rig.
namespace CaptureTestTools {

// Writes `seconds` of deterministic noise (16-bit, interleaved) to a file the rig's capture
// device plays, and points BREVOIR_TEST_CAPTURE_FILE at it (before any device is opened).
std::vector<int16_t> feed(int seconds, int rate, int channels, uint32_t seed);

// The 20-byte block of the five additional rates, as the recorder hands it over.
QByteArray additionalRates();

// A grabber set up the way the recorder sets it up, recording from the rig's capture device
// (or the input named `device`).
std::unique_ptr<SequenceGrabber> rigGrabber(ChannelSettings settings, const QString& device = {});

// Runs the event loop, idling the grabber every few milliseconds, until `done` or `timeoutMs`.
// Answers whether `done` came true; *idleResult gets the first non-zero idle() answer.
bool idleUntil(SequenceGrabber& grabber, const std::function<bool()>& done, int timeoutMs,
               OSErr* idleResult = nullptr);

// setDataOutput, createMovieFile, setMaximumRecordTime(0), startRecord, in the recorder's order.
OSErr startRecording(SequenceGrabber& grabber, const QString& path);

// Polls without idling (waiting on something outside, like another process).
bool waitUntil(const std::function<bool()>& done, int timeoutMs);

} // namespace CaptureTestTools
