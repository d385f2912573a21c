#include "platform/audio/SoundSources.h"

#include "platform/audio/SoundServerConnection.h"
#include "platform/foundation/Log.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>

#include <pulse/pulseaudio.h>

#include <algorithm>
#include <cmath>

struct SoundSources::Listing {
    SoundSources* owner = nullptr;
    pa_context* context = nullptr;
    pa_threaded_mainloop* loop = nullptr;
    int pending = 0;    // answers still to come in this round
    bool again = false; // something changed during the round: list once more after it
    QString defaultName;
    QHash<uint32_t, QString> outputs; // description by index
    QList<Source> sources;
    QList<uint32_t> monitorOf; // the output index of each source (PA_INVALID_INDEX: an input)
    bool published = false;
    QList<Source> lastSources;
    QString lastDefault;
};

struct SoundSourcesCallbacks {
    using Listing = SoundSources::Listing;
    static void onEvent(pa_context*, pa_subscription_event_type_t, uint32_t, void* userdata);
    static void onServerInfo(pa_context*, const pa_server_info* info, void* userdata);
    static void onOutputInfo(pa_context*, const pa_sink_info* info, int eol, void* userdata);
    static void onSourceInfo(pa_context*, const pa_source_info* info, int eol, void* userdata);
    static void answered(Listing& l);
    // Once the last of a round's three answers is in: the list, in the order people want it.
    static void finishRound(Listing& l);
};

double SoundSources::Source::gain() const {
    uint32_t loudest = 0;
    for (uint32_t volume : volumes)
        loudest = std::max(loudest, volume);
    return double(loudest) / double(PA_VOLUME_NORM);
}

SoundSources& SoundSources::shared() {
    static QPointer<SoundSources> instance;
    if (!instance) {
        instance = new SoundSources;
        instance->setParent(QCoreApplication::instance());
    }
    return *instance;
}

SoundSources::SoundSources() = default;

SoundSources::~SoundSources() {
    // The connection's thread ends before the listing it writes to.
    _connection.reset();
}

bool SoundSources::ensureConnected() {
    if (_connection) {
        SoundServerConnection::Lock lock(*_connection);
        if (_connection->isReady())
            return true;
    }
    if (_connection) {
        bvLog(QStringLiteral("lost the sound server: %1").arg(_connection->lastError()));
        _connection.reset();
        _listing.reset();
    }
    const auto now = std::chrono::steady_clock::now();
    // A server that stalls costs the deadline once, not on every question.
    if (_lastAttempt.time_since_epoch().count() != 0 && now - _lastAttempt < kRetryInterval &&
        !_unavailableReason.isEmpty())
        return false;
    _lastAttempt = now;
    SoundServerConnection::Failure failure;
    auto connection = SoundServerConnection::open("Brevoir", "bv-sources", &failure);
    if (!connection) {
        if (_unavailableReason != failure.reason)
            bvLog(QStringLiteral("no sound server: %1").arg(failure.reason));
        _unavailableReason = failure.reason;
        if (!_sources.isEmpty()) {
            _sources.clear();
            emit sourcesChanged();
        }
        return false;
    }
    _connection = std::move(connection);
    _listing = std::make_unique<Listing>();
    _listing->owner = this;
    _listing->context = _connection->context();
    _listing->loop = _connection->loop();
    SoundServerConnection::Lock lock(*_connection);
    pa_context_set_subscribe_callback(_connection->context(), &SoundSourcesCallbacks::onEvent,
                                      _listing.get());
    pa_operation_unref(pa_context_subscribe(_connection->context(),
                                            pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SOURCE |
                                                                   PA_SUBSCRIPTION_MASK_SINK |
                                                                   PA_SUBSCRIPTION_MASK_SERVER),
                                            nullptr, nullptr));
    requestListing();
    Listing* listing = _listing.get();
    if (!_connection->waitLocked([listing] { return listing->published; })) {
        _unavailableReason = QStringLiteral("the sound server did not list its sources within %1 s")
                                 .arg(double(SoundServerConnection::deadline().count()) / 1000.0);
        return true; // connected; the list follows when the server answers
    }
    _unavailableReason.clear();
    _sources = listing->lastSources;
    _defaultName = listing->lastDefault;
    return true;
}

void SoundSources::requestListing() {
    // The connection's thread, or the main thread holding the loop's lock.
    Listing& l = *_listing;
    l.pending = 3;
    l.again = false;
    l.outputs.clear();
    l.sources.clear();
    l.monitorOf.clear();
    using C = SoundSourcesCallbacks;
    pa_operation_unref(pa_context_get_server_info(l.context, &C::onServerInfo, &l));
    pa_operation_unref(pa_context_get_sink_info_list(l.context, &C::onOutputInfo, &l));
    pa_operation_unref(pa_context_get_source_info_list(l.context, &C::onSourceInfo, &l));
}

void SoundSourcesCallbacks::onEvent(pa_context*, pa_subscription_event_type_t, uint32_t,
                                    void* userdata) {
    auto& l = *static_cast<Listing*>(userdata);
    if (l.pending > 0)
        l.again = true;
    else
        l.owner->requestListing();
}

void SoundSourcesCallbacks::answered(Listing& l) {
    if (--l.pending == 0)
        finishRound(l);
}

void SoundSourcesCallbacks::onServerInfo(pa_context*, const pa_server_info* info, void* userdata) {
    auto& l = *static_cast<Listing*>(userdata);
    l.defaultName = info && info->default_source_name ? QString::fromUtf8(info->default_source_name)
                                                      : QString();
    answered(l);
}

void SoundSourcesCallbacks::onOutputInfo(pa_context*, const pa_sink_info* info, int eol,
                                         void* userdata) {
    auto& l = *static_cast<Listing*>(userdata);
    if (eol != 0) {
        answered(l);
        return;
    }
    if (info)
        l.outputs.insert(info->index,
                         QString::fromUtf8(info->description ? info->description : info->name));
}

void SoundSourcesCallbacks::onSourceInfo(pa_context*, const pa_source_info* info, int eol,
                                         void* userdata) {
    auto& l = *static_cast<Listing*>(userdata);
    if (eol != 0) {
        answered(l);
        return;
    }
    if (!info || !info->name)
        return;
    SoundSources::Source source;
    source.name = QString::fromUtf8(info->name);
    source.description = QString::fromUtf8(info->description ? info->description : info->name);
    source.isMonitor = info->monitor_of_sink != PA_INVALID_INDEX;
    source.channels = info->channel_map.channels;
    for (uint8_t c = 0; c < info->volume.channels; ++c)
        source.volumes.append(info->volume.values[c]);
    l.sources.append(source);
    l.monitorOf.append(info->monitor_of_sink);
}

void SoundSourcesCallbacks::finishRound(Listing& l) {
    QList<SoundSources::Source> inputs;
    QList<SoundSources::Source> monitors;
    for (qsizetype i = 0; i < l.sources.size(); ++i) {
        SoundSources::Source source = l.sources[i];
        if (source.isMonitor) {
            source.monitorOf = l.outputs.value(l.monitorOf[i], source.description);
            monitors.append(source);
        } else if (source.name == l.defaultName) {
            inputs.prepend(source);
        } else {
            inputs.append(source);
        }
    }
    const QList<SoundSources::Source> sources = inputs + monitors;
    l.lastSources = sources;
    l.lastDefault = l.defaultName;
    l.published = true;
    pa_threaded_mainloop_signal(l.loop, 0);
    const QString defaultName = l.defaultName;
    SoundSources* owner = l.owner;
    QMetaObject::invokeMethod(
        owner, [owner, sources, defaultName] { owner->publish(sources, defaultName); },
        Qt::QueuedConnection);
    if (l.again)
        owner->requestListing();
}

void SoundSources::publish(const QList<Source>& sources, const QString& defaultName) {
    if (sources == _sources && defaultName == _defaultName && _unavailableReason.isEmpty())
        return;
    _sources = sources;
    _defaultName = defaultName;
    _unavailableReason.clear();
    emit sourcesChanged();
}

QList<SoundSources::Source> SoundSources::sources() {
    ensureConnected();
    return _sources;
}

bool SoundSources::available() {
    return ensureConnected() && _unavailableReason.isEmpty();
}

QString SoundSources::defaultSourceName() {
    if (!ensureConnected())
        return {};
    const QString chosen = qEnvironmentVariable("PULSE_SOURCE");
    return chosen.isEmpty() ? _defaultName : chosen;
}

std::optional<SoundSources::Source> SoundSources::find(const QString& nameOrDescription) {
    const QList<Source> all = sources();
    for (const Source& source : all)
        if (source.name == nameOrDescription)
            return source;
    std::optional<Source> found;
    for (const Source& source : all) {
        if (source.description != nameOrDescription)
            continue;
        if (found)
            return std::nullopt; // two sources share it: the name must say which
        found = source;
    }
    return found;
}

bool SoundSources::setGain(const QString& name, double gain, QString* error) {
    const auto source = find(name);
    if (!source || source->name != name || source->volumes.isEmpty()) {
        *error = QStringLiteral("the sound server has no source named \"%1\"").arg(name);
        return false;
    }
    pa_cvolume volume{};
    volume.channels = uint8_t(source->volumes.size());
    for (qsizetype c = 0; c < source->volumes.size(); ++c)
        volume.values[c] = source->volumes[c];
    pa_cvolume_scale(&volume,
                     pa_volume_t(std::lround(std::clamp(gain, 0.0, 4.0) * PA_VOLUME_NORM)));
    struct Outcome {
        pa_threaded_mainloop* loop;
        bool done = false;
        bool ok = false;
    } outcome{_connection->loop()};
    SoundServerConnection::Lock lock(*_connection);
    pa_operation* operation = pa_context_set_source_volume_by_name(
        _connection->context(), name.toUtf8().constData(), &volume,
        [](pa_context*, int success, void* userdata) {
            auto* o = static_cast<Outcome*>(userdata);
            o->ok = success != 0;
            o->done = true;
            pa_threaded_mainloop_signal(o->loop, 0);
        },
        &outcome);
    if (!_connection->finishLocked(operation) || !outcome.ok) {
        *error = outcome.done ? _connection->lastError()
                              : QStringLiteral("the sound server did not answer");
        return false;
    }
    // Known at once, before the server's change event comes round.
    for (Source& kept : _sources)
        if (kept.name == name)
            kept.volumes = QList<uint32_t>(volume.values, volume.values + volume.channels);
    return true;
}
