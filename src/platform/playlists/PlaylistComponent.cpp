#include "platform/playlists/PlaylistComponent.h"

#include "platform/playlists/M3uPlaylistLibrary.h"

#include <QCoreApplication>

#include <map>

const QString PlaylistComponent::kErrorMessage = QStringLiteral("ErrorMessage");
const QString PlaylistComponent::kErrorNumber = QStringLiteral("ErrorNumber");

PlaylistComponent::~PlaylistComponent() = default;

HandlerDescriptor PlaylistComponent::callHandlerWithArgumentsErrorInfo(
    const QString& handler, const HandlerDescriptor& arguments, QVariantMap* errorInfo) {
    HandlerEvent event;
    event.eventClass = HandlerEvent::kSuiteClass;
    event.eventID = HandlerEvent::kSubroutineID;
    event.targetProcess = int32_t(QCoreApplication::applicationPid());
    event.returnID = HandlerEvent::kAutoGenerateReturnID;
    event.transactionID = HandlerEvent::kAnyTransactionID;
    event.parameters[HandlerEvent::kSubroutineName] =
        HandlerDescriptor::descriptorWithString(handler);
    event.parameters[HandlerEvent::kDirectObject] = arguments;
    return executeAppleEvent(event, errorInfo);
}

void PlaylistComponent::setProgressObserver(ProgressObserver observer) {
    std::lock_guard lock(_observerLock);
    _observer = std::move(observer);
}

void PlaylistComponent::reportProgress(const Progress& progress) {
    std::lock_guard lock(_observerLock);
    if (_observer)
        _observer(progress);
}

void PlaylistComponent::cancel(bool immediately) {
    _cancel.store(true);
    if (immediately)
        _abort.store(true);
}

void PlaylistComponent::clearCancel() {
    _cancel.store(false);
    _abort.store(false);
}

void PlaylistComponent::setProtectedFolders(const QStringList& folders) {
    std::lock_guard lock(_observerLock);
    _protectedFolders = folders;
}

QStringList PlaylistComponent::protectedFolders() const {
    std::lock_guard lock(_observerLock);
    return _protectedFolders;
}

namespace {
std::map<QString, PlaylistComponents::Factory> builtInFactories() {
    return {{QStringLiteral("iTunesController.scpt"), [] {
                 return std::make_unique<M3uPlaylistLibrary>(M3uPlaylistLibrary::musicFolder());
             }}};
}

std::mutex gRegistryLock;
std::map<QString, PlaylistComponents::Factory>& registry() {
    static std::map<QString, PlaylistComponents::Factory> factories = builtInFactories();
    return factories;
}
} // namespace

std::unique_ptr<PlaylistComponent> PlaylistComponents::load(const QString& resourceName,
                                                            const QString& type, QString* error) {
    const QString fileName = resourceName + QLatin1Char('.') + type;
    Factory factory;
    {
        std::lock_guard lock(gRegistryLock);
        const auto found = registry().find(fileName);
        if (found != registry().end())
            factory = found->second;
    }
    std::unique_ptr<PlaylistComponent> component = factory ? factory() : nullptr;
    if (!component && error)
        *error = QStringLiteral("no playlist component is installed as \"%1\"").arg(fileName);
    return component;
}

void PlaylistComponents::setFactory(const QString& resourceFileName, Factory factory) {
    std::lock_guard lock(gRegistryLock);
    if (factory)
        registry()[resourceFileName] = std::move(factory);
    else
        registry().erase(resourceFileName);
}

void PlaylistComponents::restoreDefaults() {
    std::lock_guard lock(gRegistryLock);
    registry() = builtInFactories();
}
