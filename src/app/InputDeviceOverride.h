#pragma once

#include "platform/audio/SequenceGrabber.h"

#include <memory>

// `--input-device NAME`: a grabber that records from the named input for this run, whatever
// the stored sound settings name. The settings it reports keep the stored device, so the
// choice made for one run is not saved.
std::unique_ptr<SequenceGrabber> WithInputDevice(std::unique_ptr<SequenceGrabber> grabber,
                                                 const QString& inputDevice);
