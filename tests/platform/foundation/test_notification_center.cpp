#include "platform/foundation/NotificationCenter.h"

#include <gtest/gtest.h>

TEST(NotificationCenter, DeliversSynchronouslyToEveryObserverOfTheNameFromAnySender) {
    NotificationCenter center;
    int a = 0, b = 0, other = 0;
    QVariantMap seen;
    const void* seenObject = nullptr;
    int observerA = 0, observerB = 0;
    center.addObserver(&observerA, "Ping", [&](const Notification& n) {
        ++a;
        seen = n.userInfo;
        seenObject = n.object;
    });
    center.addObserver(&observerB, "Ping", [&](const Notification&) { ++b; });
    center.addObserver(&observerB, "Other", [&](const Notification&) { ++other; });

    int sender = 0;
    center.post("Ping", &sender, {{"left", 40}});
    // Delivered before post() returned.
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(seen.value("left").toInt(), 40);
    EXPECT_EQ(seenObject, &sender);

    int anotherSender = 0;
    center.post("Ping", &anotherSender);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 2);
}

TEST(NotificationCenter, RemovingAnObserverDropsAllItsNamesEvenDuringDelivery) {
    NotificationCenter center;
    int first = 0, second = 0, observerA = 0, observerB = 0;
    center.addObserver(&observerA, "X", [&](const Notification&) {
        ++first;
        center.removeObserver(&observerB); // removed while "X" is being delivered
    });
    center.addObserver(&observerB, "X", [&](const Notification&) { ++second; });
    center.addObserver(&observerB, "Y", [&](const Notification&) { ++second; });
    center.post("X", nullptr);
    center.post("Y", nullptr);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}
