#include "app/BVController.h"
#include "categories/CategoryStore.h"
#include "library/BVMovieDurationFormatter.h"
#include "library/QBVTrack.h"
#include "library/QKFileSizeFormatter.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/ValueTransformer.h"
#include "recording/QKRecorder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Posted {
    QString name;
    const void* object;
    QVariantMap userInfo;
    QString nameDuring; // what the track answered while the observer ran
    QString categoryDuring;
};

// Records the track notifications, and what the track said at the time.
class TrackObserver {
public:
    explicit TrackObserver(const QBVTrack& track) {
        for (const char* name :
             {"QBVTrackNameChangedNotification", "QBVTrackCategoryChangedNotification",
              "QBVTrackCategorySaveChangeNotification"}) {
            NotificationCenter::defaultCenter().addObserver(
                this, QString::fromLatin1(name), [this, &track](const Notification& n) {
                    posted.push_back(
                        {n.name, n.object, n.userInfo, track.name(), track.category()});
                });
        }
    }
    ~TrackObserver() { NotificationCenter::defaultCenter().removeObserver(this); }
    TrackObserver(const TrackObserver&) = delete;
    TrackObserver& operator=(const TrackObserver&) = delete;

    std::vector<Posted> posted;
};

TEST(Track, RenamingIsAnnouncedWhileTheOldNameIsStillHeld) {
    QBVTrack track;
    TrackObserver observer(track);
    track.setName(QStringLiteral("Recording 1.mov"));
    EXPECT_TRUE(observer.posted.empty()); // a first name is no rename

    track.setName(QStringLiteral("Interview.mov"));
    ASSERT_EQ(observer.posted.size(), 1u);
    const Posted& renamed = observer.posted[0];
    EXPECT_EQ(renamed.name, QStringLiteral("QBVTrackNameChangedNotification"));
    EXPECT_EQ(renamed.object, &track);
    EXPECT_EQ(renamed.userInfo.value(QStringLiteral("old name")).toString(),
              QStringLiteral("Recording 1.mov"));
    EXPECT_EQ(renamed.userInfo.value(QStringLiteral("new name")).toString(),
              QStringLiteral("Interview.mov"));
    EXPECT_EQ(renamed.nameDuring, QStringLiteral("Recording 1.mov"));
    EXPECT_EQ(track.name(), QStringLiteral("Interview.mov"));

    // An equal name is no change.
    track.setName(QString::fromLatin1("Interview.mov"));
    EXPECT_EQ(observer.posted.size(), 1u);
}

TEST(Track, FilingUnderACategoryTheEditRequestAndTheSeparator) {
    QBVTrack track;
    TrackObserver observer(track);

    track.setCategory(QStringLiteral("Work"));
    ASSERT_EQ(observer.posted.size(), 1u);
    EXPECT_EQ(observer.posted[0].name, QStringLiteral("QBVTrackCategorySaveChangeNotification"));
    EXPECT_EQ(observer.posted[0].object, &track);
    EXPECT_EQ(observer.posted[0].categoryDuring, QStringLiteral("Work")); // posted after storing

    // The edit request is the edit entry that the category list offers.
    track.setCategory(CategoryStore::editEntry());
    track.setCategory(CategoryStore::editEntry());
    ASSERT_EQ(observer.posted.size(), 3u);
    EXPECT_EQ(observer.posted[1].name, QStringLiteral("QBVTrackCategoryChangedNotification"));
    EXPECT_EQ(observer.posted[2].name, QStringLiteral("QBVTrackCategoryChangedNotification"));
    EXPECT_EQ(track.category(), QStringLiteral("Work"));

    track.setCategory(QStringLiteral("-"));
    track.setCategory(QStringLiteral("Work"));
    track.setCategory(CategoryStore::editEntry().toLower()); // case-sensitive: a category
    EXPECT_EQ(track.category(), CategoryStore::editEntry().toLower());
    EXPECT_EQ(observer.posted.size(), 4u);

    track.setCategory(QString());
    EXPECT_TRUE(track.category().isNull());
    EXPECT_EQ(observer.posted.size(), 4u); // clearing is silent
}

TEST(Track, OnlyThePlayingTrackShowsTheMarker) {
    BVController::initialize();
    BVController::setRecorderFactory([] { return nullptr; });
    BVController controller;
    QBVTrack playing;
    QBVTrack idle;
    playing.setIsPlaying(true);
    EXPECT_EQ(playing.currentlyPlayingImage(), controller.currentlyPlayingImage());
    EXPECT_EQ(idle.currentlyPlayingImage(), nullptr);
    playing.setIsPlaying(false);
    EXPECT_EQ(playing.currentlyPlayingImage(), nullptr);
    BVController::setRecorderFactory(nullptr);
}

TEST(Formatters, ByteCounts) {
    const std::pair<double, const char*> examples[] = {
        {0, "0 Bytes"},
        {1024, "1024 Bytes"},
        {1025, "1 KB"},
        {1536, "2 KB"},
        {1048576, "1024 KB"},
        {5000000, "4.8 MB"},
        {1073741824, "1024.0 MB"},
        {3.0 * 1073741824, "3.0 GB"},
    };
    const QKFileSizeFormatter formatter;
    const convertBytes converter;
    for (const auto& [bytes, text] : examples) {
        EXPECT_EQ(converter.convertFromBytes(float(bytes)), QLatin1String(text)) << text;
        EXPECT_EQ(formatter.stringForObjectValue(QVariant::fromValue(quint64(bytes))),
                  QLatin1String(text))
            << text;
        EXPECT_EQ(formatter.stringForObjectValue(bytes), QLatin1String(text)) << text;
    }
    EXPECT_TRUE(formatter.stringForObjectValue(QStringLiteral("1024")).isNull());
    EXPECT_TRUE(formatter.stringForObjectValue(QVariant()).isNull());
}

TEST(Formatters, DurationsThroughTheRegisteredTransformer) {
    BVController::initialize();
    const auto transformer =
        ValueTransformer::valueTransformerForName(QStringLiteral("BVMovieDurationFormatter"));
    ASSERT_TRUE(transformer);
    EXPECT_FALSE(transformer->allowsReverseTransformation());
    EXPECT_EQ(BVMovieDurationFormatter::transformedValueClass(), QMetaType::fromType<QString>());
    const std::pair<QVariant, const char*> examples[] = {
        {0.0, "00:00:00.00"},
        {65.257, "00:01:05.25"},
        {3725.5, "01:02:05.50"},
        {36000, "10:00:00.00"},
        {QVariant::fromValue(65.257f), "00:01:05.25"},
        {360000.0, "100:00:00.00"},
        {QVariant(), "00:00:00.00"},
        {std::nan(""), "00:00:00.00"},
    };
    for (const auto& [seconds, text] : examples)
        EXPECT_EQ(transformer->transformedValue(seconds).toString(), QLatin1String(text)) << text;
}

} // namespace
