#pragma once

#include "app/BVController.h"
#include "app/MainInterface.h"
#include "platform/foundation/Defaults.h"
#include "recording/QKRecorder.h"

#include <QFile>

#include <memory>

// The real controller and interface, without the sound input, on a fresh defaults store.
class AppFixture {
public:
    AppFixture() {
        QFile::remove(Defaults::standard().fileName());
        Defaults::standard().reloadForTesting();
        BVController::initialize();
        Defaults::standard().registerDefaults(
            {{sPreferencesKeySafeDelete, QStringLiteral("YES")},
             {sPreferencesKeyPlaylistName, QStringLiteral("Brevoir")},
             {sPreferencesKeyTwoWaySyncing, QStringLiteral("NO")},
             {sPreferencesKeyCategories, QStringList{"General", "Home", "Work"}}});
        BVController::setRecorderFactory([] { return nullptr; });
    }
    ~AppFixture() { BVController::setRecorderFactory(nullptr); }

    // Creation, interface connection, as loading the main interface does.
    void create() {
        controller = std::make_unique<BVController>();
        interface = std::make_unique<MainInterface>();
        interface->connect(*controller);
    }

    std::unique_ptr<BVController> controller;
    std::unique_ptr<MainInterface> interface;
};
