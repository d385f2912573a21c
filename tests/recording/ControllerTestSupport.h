#pragma once

#include "FakeGrabber.h"

#include "app/BVController.h"
#include "app/MainInterface.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/Ticks.h"
#include "recording/QKRecorder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <memory>

// The real controller and interface, with the recorder on the fake capture layer, a settable
// tick clock and fresh defaults.
class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        QFile::remove(Defaults::standard().fileName());
        Defaults::standard().reloadForTesting();
        Ticks::setSource([this] { return now; });
        BVController::initialize();
        BVController::setRecorderFactory(
            [g = grabber] { return QKRecorder::create(fakeGrabberFactory(g)); });
        controller = std::make_unique<BVController>();
        ui = std::make_unique<MainInterface>();
        ui->connect(*controller);
    }
    void TearDown() override {
        ui.reset();
        controller.reset();
        BVController::setRecorderFactory(nullptr);
        Ticks::resetSource();
    }

    QKRecorder* recorder() const { return controller->recorder(); }

    int64_t now = 500'000;
    std::shared_ptr<FakeGrabberState> grabber = std::make_shared<FakeGrabberState>();
    std::unique_ptr<BVController> controller;
    std::unique_ptr<MainInterface> ui;
};
