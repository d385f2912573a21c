#pragma once

// The bridge to the music player's playlist component (built with the sync work).
class QKTunesController {
public:
    QKTunesController() = default;
};
