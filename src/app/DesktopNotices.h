#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class BVController;
class DesktopNotifier;
struct Notification;

// Tells the desktop, when the window is not the active one, that a recording ended by itself
// (its timer, voice activation's silence, a failed write, a lost input) or that a Sync ended;
// a recording's notice names it and its length and offers to show the window or play it.
// Nothing is sent while the user looks at the window: they see it happen there.
class DesktopNotices : public QObject {
    Q_OBJECT

public:
    explicit DesktopNotices(BVController& controller);
    ~DesktopNotices() override;

    DesktopNotifier& notifier();
    // Whether a notice is being put together or sent: quitting now would lose it.
    bool isBusy() const { return _pending.has_value() || _sending > 0; }

signals:
    // The last notice under way has been sent (or failed to be).
    void settled();

private:
    void sent();
    void recordingDidStop(const Notification& notification);
    void captureProblem(const Notification& notification);
    void sendRecordingNotice();
    void syncFinished(const QString& problem);
    bool windowIsActive() const;
    void actionInvoked(uint id, const QString& key);

    BVController& _controller;
    QPointer<DesktopNotifier> _notifier;
    // The notice being put together: a failure's reason follows the stop that it caused.
    struct Pending {
        QString path;
        QString reason;
        QString problem;
    };
    std::optional<Pending> _pending;
    int _sending = 0; // notices sent whose answer has not come
    uint _lastId = 0;
    QString _lastPath; // the recording the last notice named, for its actions
};
