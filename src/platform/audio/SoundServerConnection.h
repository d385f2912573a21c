#pragma once

#include <QString>

#include <chrono>
#include <functional>
#include <memory>

struct pa_threaded_mainloop;
struct pa_context;
struct pa_operation;

// A client connection to the sound server on a threaded main loop of its own. Every wait for
// the server has a deadline: a server that accepts the socket and then stalls costs the caller
// at most kDeadline, never a frozen window.
class SoundServerConnection {
public:
    static constexpr std::chrono::milliseconds kDeadline{2000};

    struct Failure {
        QString reason;        // for the log and the user, in English
        bool timedOut = false; // the server took the socket but did not answer in time
        bool noServer = false; // nothing listens where the server should be
    };
    // Connects and waits (within the deadline) until the server is ready; null with *failure.
    static std::unique_ptr<SoundServerConnection> open(const char* clientName,
                                                       const char* threadName, Failure* failure);
    ~SoundServerConnection();
    SoundServerConnection(const SoundServerConnection&) = delete;
    SoundServerConnection& operator=(const SoundServerConnection&) = delete;

    pa_threaded_mainloop* loop() const { return _loop; }
    pa_context* context() const { return _context; }
    // Whether the server is still there.
    bool isReady() const; // loop locked by the caller or not: takes no lock itself

    // With the loop locked: waits until `done` answers true or the deadline passes (false).
    // The callbacks that change what `done` reads must signal the loop (signal()).
    bool waitLocked(const std::function<bool()>& done);
    // With the loop locked: waits for `operation` to end, within the deadline; releases it.
    // Answers whether it ended in time.
    bool finishLocked(pa_operation* operation);
    // Wakes a waitLocked; for callbacks on the loop's thread.
    static void signal(void* connection);
    QString lastError() const;

    // The loop's lock, for as long as the object lives.
    class Lock {
    public:
        explicit Lock(const SoundServerConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* _loop;
    };

    // Tests shorten the deadline (0 puts kDeadline back).
    static void setDeadlineForTesting(std::chrono::milliseconds deadline);
    static std::chrono::milliseconds deadline();

private:
    SoundServerConnection() = default;
    bool connect(const char* clientName, const char* threadName, Failure* failure);

    pa_threaded_mainloop* _loop = nullptr;
    pa_context* _context = nullptr;
    bool _running = false; // the loop's thread was started
};
