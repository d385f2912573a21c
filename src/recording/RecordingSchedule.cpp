#include "recording/RecordingSchedule.h"

#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace {
const QString kStartKey = QStringLiteral("ScheduledStart");
const QString kLengthKey = QStringLiteral("ScheduledLength");

RecordingSchedule::WallClock& wallClock() {
    static RecordingSchedule::WallClock clock;
    return clock;
}
} // namespace

RecordingSchedule::RecordingSchedule(QObject* parent) : QObject(parent) {}

RecordingSchedule::~RecordingSchedule() = default;

void RecordingSchedule::setWallClock(WallClock clock) {
    wallClock() = std::move(clock);
}

qint64 RecordingSchedule::wallClockMs() {
    return wallClock() ? wallClock()() : QDateTime::currentMSecsSinceEpoch();
}

QString RecordingSchedule::arm(const Plan& plan) {
    if (!plan.start.isValid())
        return BVLocalizedString("ScheduleNeedsAStart");
    if (!(plan.lengthSeconds >= 0) || plan.lengthSeconds > kLongestLengthSeconds)
        return BVLocalizedString("ScheduleLengthOutOfRange");
    if (plan.start.toMSecsSinceEpoch() < wallClockMs() - kLatenessAcceptedMs)
        return BVLocalizedString("ScheduleStartPassed")
            .arg(QLocale().toString(plan.start, QLocale::ShortFormat));
    _plan = plan;
    armTimer();
    return {};
}

void RecordingSchedule::cancel() {
    _plan.reset();
    if (_timer) {
        _timer->stop();
        // The timer may be cancelling itself from inside its timeout.
        _timer->deleteLater();
        _timer = nullptr;
    }
}

qint64 RecordingSchedule::millisecondsToStart() const {
    if (!_plan)
        return -1;
    return std::max<qint64>(0, _plan->start.toMSecsSinceEpoch() - wallClockMs());
}

void RecordingSchedule::armTimer() {
    // Measured against the wall clock at every step, then waited out on the monotonic clock.
    const qint64 remainingMs = millisecondsToStart();
    if (!_timer) {
        _timer = new QTimer(this);
        _timer->setSingleShot(true);
        // A coarse timer may fire 5 % late: three seconds in a minute's wait.
        _timer->setTimerType(Qt::PreciseTimer);
        connect(_timer, &QTimer::timeout, this, &RecordingSchedule::checkDue);
    }
    _timer->start(int(std::min(remainingMs, kLongestWaitMs)));
}

void RecordingSchedule::checkDue() {
    if (!_plan)
        return;
    // A step of a long wait, a timer that came early, or a clock set back meanwhile: the
    // moment is the wall clock's, so only the wall clock says it has come.
    if (millisecondsToStart() > 0) {
        armTimer();
        return;
    }
    const Plan plan = *_plan;
    cancel();
    emit due(plan);
}

std::optional<RecordingSchedule::Plan> RecordingSchedule::load(const Defaults& store) {
    if (!store.hasStoredValue(kStartKey))
        return std::nullopt;
    bool ok = false;
    const qint64 seconds = store.objectForKey(kStartKey).toLongLong(&ok);
    if (!ok || seconds <= 0)
        return std::nullopt;
    Plan plan;
    plan.start = QDateTime::fromSecsSinceEpoch(seconds);
    const double length = store.objectForKey(kLengthKey).toDouble(&ok);
    plan.lengthSeconds = ok && length > 0 && length <= kLongestLengthSeconds ? length : 0;
    return plan;
}

void RecordingSchedule::store(Defaults& store, const std::optional<Plan>& plan) {
    if (!plan) {
        store.removeObject(kStartKey);
        store.removeObject(kLengthKey);
    } else {
        store.setInteger(plan->start.toSecsSinceEpoch(), kStartKey);
        store.setObject(plan->lengthSeconds, kLengthKey);
    }
    // Written now: a schedule must survive a crash as well as a quit.
    store.synchronize();
}

// ---- text ----

namespace ScheduleText {

namespace {
std::optional<QTime> parseTimeOfDay(const QString& text) {
    for (const char* format : {"H:mm:ss", "H:mm"}) {
        const QTime time = QTime::fromString(text, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}
} // namespace

std::optional<QDateTime> parseStart(const QString& given, const QDateTime& now) {
    const QString text = given.trimmed();
    if (text.startsWith(u'@')) {
        bool ok = false;
        const qint64 seconds = text.mid(1).toLongLong(&ok);
        if (!ok || seconds <= 0)
            return std::nullopt;
        return QDateTime::fromSecsSinceEpoch(seconds);
    }
    if (text.startsWith(u'+')) {
        const std::optional<double> seconds = parseDuration(text.mid(1));
        if (!seconds)
            return std::nullopt;
        return now.addMSecs(qint64(std::llround(*seconds * 1000)));
    }
    static const QRegularExpression tomorrow(QStringLiteral("^tomorrow\\s+(\\S+)$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (const auto match = tomorrow.match(text); match.hasMatch()) {
        const std::optional<QTime> time = parseTimeOfDay(match.captured(1));
        if (!time)
            return std::nullopt;
        return QDateTime(now.date().addDays(1), *time);
    }
    if (const std::optional<QTime> time = parseTimeOfDay(text)) {
        const QDateTime today(now.date(), *time);
        return today < now.addMSecs(-RecordingSchedule::kLatenessAcceptedMs) ? today.addDays(1)
                                                                             : today;
    }
    for (const char* format :
         {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-ddTHH:mm:ss", "yyyy-MM-ddTHH:mm"}) {
        const QDateTime at = QDateTime::fromString(text, QLatin1String(format));
        if (at.isValid())
            return at;
    }
    return std::nullopt;
}

std::optional<double> parseDuration(const QString& given) {
    const QString text = given.trimmed().toLower();
    if (text.isEmpty())
        return std::nullopt;
    double seconds = 0;
    if (text.contains(u':')) {
        const QStringList parts = text.split(u':');
        if (parts.size() > 3)
            return std::nullopt;
        for (const QString& part : parts) {
            bool ok = false;
            const double value = part.toDouble(&ok);
            if (!ok || value < 0)
                return std::nullopt;
            seconds = seconds * 60 + value;
        }
        return seconds;
    }
    static const QRegularExpression units(QStringLiteral("^(?:(\\d+(?:\\.\\d+)?)h)?"
                                                         "(?:(\\d+(?:\\.\\d+)?)m)?"
                                                         "(?:(\\d+(?:\\.\\d+)?)s?)?$"));
    const QRegularExpressionMatch match = units.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const double factors[] = {3600, 60, 1};
    for (int i = 0; i < 3; ++i)
        seconds += match.captured(i + 1).toDouble() * factors[i];
    return seconds;
}

QString shortStart(const QDateTime& start, const QDateTime& now) {
    const QLocale locale;
    const QString time = locale.toString(start.time(), QLocale::ShortFormat);
    const qint64 days = now.date().daysTo(start.date());
    if (days == 0)
        return time;
    if (days > 0 && days < 7)
        return locale.toString(start.date(), QStringLiteral("ddd")) + u' ' + time;
    return locale.toString(start, QLocale::ShortFormat);
}

} // namespace ScheduleText
