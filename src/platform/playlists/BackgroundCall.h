#pragma once

#include <QObject>

#include <functional>

class QThread;

// Runs one long call (a playlist import) on a worker thread of its own and tells its owner's
// thread when it has ended, so that the window keeps painting meanwhile.
class BackgroundCall : public QObject {
    Q_OBJECT

public:
    explicit BackgroundCall(QObject* parent = nullptr);
    // Waits for the call to end: whoever stops it must have asked it to first.
    ~BackgroundCall() override;

    // One call per object.
    void start(std::function<void()> work);
    // Blocks until the call has ended (at once when none runs).
    void wait();
    bool isRunning() const;

signals:
    // On the owner's thread, once the call has returned.
    void finished();

private:
    QThread* _thread = nullptr;
};
