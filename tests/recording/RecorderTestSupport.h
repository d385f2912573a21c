#pragma once

#include "FakeGrabber.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/Ticks.h"
#include "recording/QKRecorder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// Keeps every notification of the given names, in the order posted.
class NotificationSpy {
public:
    explicit NotificationSpy(const QStringList& names) {
        for (const QString& name : names)
            NotificationCenter::defaultCenter().addObserver(
                this, name, [this](const Notification& n) { received.push_back(n); });
    }
    ~NotificationSpy() { NotificationCenter::defaultCenter().removeObserver(this); }
    NotificationSpy(const NotificationSpy&) = delete;
    NotificationSpy& operator=(const NotificationSpy&) = delete;

    int count(const QString& name) const {
        int n = 0;
        for (const Notification& notification : received)
            n += notification.name == name ? 1 : 0;
        return n;
    }
    const Notification* last(const QString& name) const {
        for (auto it = received.rbegin(); it != received.rend(); ++it)
            if (it->name == name)
                return &*it;
        return nullptr;
    }
    std::vector<Notification> received;
};

// A recorder on the fake capture layer, a settable tick clock, and a folder for its files.
class RecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        Ticks::setSource([this] { return now; });
        ASSERT_TRUE(folder.isValid());
    }
    void TearDown() override {
        recorder.reset();
        Ticks::resetSource();
    }

    QKRecorder& makeRecorder() {
        recorder = QKRecorder::create(fakeGrabberFactory(grabber));
        EXPECT_NE(recorder, nullptr);
        recorder->setTempFile(folder.filePath("take.mov"));
        grabber->calls.clear();
        return *recorder;
    }

    void advanceSeconds(int seconds) { now += int64_t{60} * seconds; }

    int64_t now = 1'000'000;
    std::shared_ptr<FakeGrabberState> grabber = std::make_shared<FakeGrabberState>();
    std::unique_ptr<QKRecorder> recorder;
    QTemporaryDir folder;
};
