#include "recording/VoiceActivation.h"

#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"

#include <cmath>

namespace VoiceActivation {

namespace {
const QString kEnabledKey = QStringLiteral("VoiceActivation");
const QString kThresholdKey = QStringLiteral("VoiceThreshold");
const QString kSilenceKey = QStringLiteral("VoiceSilence");
const QString kPreRollKey = QStringLiteral("VoicePreRoll");
const QString kAfterSilenceKey = QStringLiteral("VoiceAfterSilence");

double storedNumber(const Defaults& store, const QString& key, double fallback) {
    bool ok = false;
    const double value = store.objectForKey(key).toDouble(&ok);
    return ok && std::isfinite(value) ? value : fallback;
}

bool within(double value, double low, double high) {
    return value >= low && value <= high; // false for NaN
}
} // namespace

QString check(const Settings& s) {
    if (!within(s.thresholdDb, kLowestThresholdDb, 0))
        return BVLocalizedString("VoiceThresholdOutOfRange");
    if (!within(s.silenceSeconds, kShortestSilenceSeconds, kLongestSilenceSeconds))
        return BVLocalizedString("VoiceSilenceOutOfRange");
    if (!within(s.preRollSeconds, 0, kLongestPreRollSeconds))
        return BVLocalizedString("VoicePreRollOutOfRange");
    return {};
}

VoiceGate gateOf(const Settings& s) {
    VoiceGate gate;
    gate.threshold = std::pow(10.0, s.thresholdDb / 20.0);
    gate.silenceSeconds = s.silenceSeconds;
    gate.preRollSeconds = s.preRollSeconds;
    return gate;
}

Settings load(const Defaults& store) {
    Settings s;
    s.enabled = store.boolForKey(kEnabledKey);
    s.thresholdDb = storedNumber(store, kThresholdKey, s.thresholdDb);
    s.silenceSeconds = storedNumber(store, kSilenceKey, s.silenceSeconds);
    s.preRollSeconds = storedNumber(store, kPreRollKey, s.preRollSeconds);
    s.afterSilence =
        afterSilenceNamed(store.stringForKey(kAfterSilenceKey)).value_or(AfterSilence::Stop);
    // Values edited by hand into something unusable start over from the defaults.
    if (!check(s).isEmpty())
        s = Settings{s.enabled};
    return s;
}

void store(Defaults& store, const Settings& s) {
    store.setBool(s.enabled, kEnabledKey);
    store.setObject(s.thresholdDb, kThresholdKey);
    store.setObject(s.silenceSeconds, kSilenceKey);
    store.setObject(s.preRollSeconds, kPreRollKey);
    store.setObject(nameOf(s.afterSilence), kAfterSilenceKey);
}

QString nameOf(AfterSilence action) {
    return action == AfterSilence::Pause ? QStringLiteral("pause") : QStringLiteral("stop");
}

std::optional<AfterSilence> afterSilenceNamed(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("stop"))
        return AfterSilence::Stop;
    if (key == QLatin1String("pause"))
        return AfterSilence::Pause;
    return std::nullopt;
}

QVariantMap toMap(const Settings& s) {
    return {{QStringLiteral("enabled"), s.enabled},
            {QStringLiteral("threshold"), s.thresholdDb},
            {QStringLiteral("silence"), s.silenceSeconds},
            {QStringLiteral("preRoll"), s.preRollSeconds},
            {QStringLiteral("afterSilence"), nameOf(s.afterSilence)}};
}

QString applyMap(const QVariantMap& changes, Settings* settings) {
    Settings s = *settings;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        const QString& key = it.key();
        bool ok = true;
        if (key == QLatin1String("enabled"))
            s.enabled = it.value().toBool();
        else if (key == QLatin1String("threshold"))
            s.thresholdDb = it.value().toDouble(&ok);
        else if (key == QLatin1String("silence"))
            s.silenceSeconds = it.value().toDouble(&ok);
        else if (key == QLatin1String("preRoll"))
            s.preRollSeconds = it.value().toDouble(&ok);
        else if (key == QLatin1String("afterSilence")) {
            const auto action = afterSilenceNamed(it.value().toString());
            ok = action.has_value();
            if (ok)
                s.afterSilence = *action;
        } else
            return BVLocalizedString("VoiceUnknownSetting").arg(key);
        if (!ok)
            return BVLocalizedString("VoiceSettingNotUnderstood").arg(key);
    }
    if (const QString problem = check(s); !problem.isEmpty())
        return problem;
    *settings = s;
    return {};
}

} // namespace VoiceActivation
