#pragma once

// One process-wide PortAudio session, shared by capture and playback. The first acquire()
// silences the ALSA and JACK back ends' diagnostics (pages of noise on stderr) and
// initialises PortAudio; each successful acquire() is matched by one release().
namespace PortAudioLibrary {
bool acquire();
void release();

// Holds the library for its lifetime.
class Session {
public:
    Session() : _ok(acquire()) {}
    ~Session() {
        if (_ok)
            release();
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    bool ok() const { return _ok; }

private:
    bool _ok;
};
} // namespace PortAudioLibrary
