// Stub until the capture layer lands.
#include "platform/audio/SequenceGrabber.h"

std::unique_ptr<SequenceGrabber> OpenDefaultGrabber() { return nullptr; }
