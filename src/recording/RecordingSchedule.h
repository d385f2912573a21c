#pragma once

#include <QDateTime>
#include <QObject>

#include <functional>
#include <optional>

class Defaults;
class QTimer;

// A recording set to begin at a moment of the wall clock, and how long it is to last. Armed
// as a precise single-shot timer on the tick clock (like a timed recording's cut-off), so that
// it starts within milliseconds of its moment; a wait of more than a minute is taken a minute
// at a time, each step measured again against the wall clock, so that a clock set anew or a
// machine that slept is caught up with. Kept in the preferences, so that it survives a restart.
class RecordingSchedule : public QObject {
    Q_OBJECT

public:
    struct Plan {
        QDateTime start;
        double lengthSeconds = 0; // 0: the recording runs as the timer says
        bool operator==(const Plan&) const = default;
    };
    // Milliseconds since the epoch; tests give their own.
    using WallClock = std::function<qint64()>;

    explicit RecordingSchedule(QObject* parent = nullptr);
    ~RecordingSchedule() override;

    static void setWallClock(WallClock clock);
    static qint64 wallClockMs();

    // The longest single wait of the timer.
    static constexpr qint64 kLongestWaitMs = 60'000;
    // A plan whose moment passed no longer ago than this still starts (a command given for
    // "now", a clock read a moment late).
    static constexpr qint64 kLatenessAcceptedMs = 1'000;
    // The longest length a plan may give: the timer's limit.
    static constexpr double kLongestLengthSeconds = 2147483647.0 / 60;

    // Why the plan cannot be armed (its moment has passed, a length that is negative or too
    // long), or empty once it is armed. Arming replaces the plan armed before.
    QString arm(const Plan& plan);
    void cancel();
    const std::optional<Plan>& plan() const { return _plan; }
    // Whole milliseconds until the start (0 once it is due); -1 without a plan.
    qint64 millisecondsToStart() const;
    // The armed single-shot timer, or none.
    QTimer* startTimer() const { return _timer; }

    // The plan kept in the store ("ScheduledStart": seconds since the epoch, "ScheduledLength":
    // seconds), or none; and storing it (none removes it).
    static std::optional<Plan> load(const Defaults& store);
    static void store(Defaults& store, const std::optional<Plan>& plan);

    // Fired by the timer: emits due() once the moment has come, else waits again.
    void checkDue();

signals:
    // The moment has come; the plan is spent (no longer armed) when this is emitted.
    void due(const RecordingSchedule::Plan& plan);

private:
    void armTimer();

    std::optional<Plan> _plan;
    QTimer* _timer = nullptr;
};

// Text for schedules: what the command line takes and what the window shows.
namespace ScheduleText {
// "14:00" or "14:00:30" (today, or tomorrow once passed), "tomorrow 14:00", "2026-03-14 14:00"
// (also with a T and seconds), "@1700000000" (seconds since the epoch) or "+90s" / "+5m" (from
// now). None when the text is none of these.
std::optional<QDateTime> parseStart(const QString& text, const QDateTime& now);
// "90", "90s", "2m", "1h30m", "2.5s", "1:30" (minutes:seconds) or "1:02:03"; none otherwise.
std::optional<double> parseDuration(const QString& text);
// "14:00" on the day of `now`, "Sat 14:00" within a week, the date and time further off.
QString shortStart(const QDateTime& start, const QDateTime& now);
} // namespace ScheduleText
