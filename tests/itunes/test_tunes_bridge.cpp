// The bridge to the playlist component: what each method sends, what it makes of the answer,
// and what a failing or missing component does.
#include "itunes/QKTunesController.h"
#include "platform/foundation/Beep.h"
#include "platform/foundation/Log.h"
#include "platform/playlists/PlaylistComponent.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {
// Stands in for a component, to see the events the bridge sends and to make calls fail.
class ScriptedComponent : public PlaylistComponent {
public:
    HandlerDescriptor executeAppleEvent(const HandlerEvent& event,
                                        QVariantMap* errorInfo) override {
        events.push_back(event);
        if (failing) {
            errorInfo->insert(kErrorMessage, QStringLiteral("the playlists are gone"));
            return {};
        }
        return answer;
    }
    std::vector<HandlerEvent> events;
    HandlerDescriptor answer;
    bool failing = false;
};

HandlerDescriptor text(const char* value) {
    return HandlerDescriptor::descriptorWithString(QString::fromUtf8(value));
}

HandlerDescriptor list(std::initializer_list<HandlerDescriptor> items) {
    HandlerDescriptor descriptor = HandlerDescriptor::listDescriptor();
    for (const HandlerDescriptor& item : items)
        descriptor.insertDescriptorAtIndex(item, 0);
    return descriptor;
}

class Bridge : public ::testing::Test {
protected:
    void SetUp() override {
        PlaylistComponents::setFactory(QStringLiteral("iTunesController.scpt"), [this] {
            auto made = std::make_unique<ScriptedComponent>();
            component = made.get();
            return made;
        });
        bridge = std::make_unique<QKTunesController>();
    }
    void TearDown() override {
        bridge.reset();
        PlaylistComponents::restoreDefaults();
    }
    ScriptedComponent* component = nullptr;
    std::unique_ptr<QKTunesController> bridge;
};
} // namespace

TEST_F(Bridge, EachMethodSendsItsHandlerWithItsArgumentsPacked) {
    using Call = std::function<void(QKTunesController&)>;
    struct Case {
        Call call;
        const char* handler;
        HandlerDescriptor arguments;
        QStringList log;
    };
    const Case cases[] = {
        {[](auto& b) { b.createPlaylist("Brevoir"); },
         "create_playlist_named",
         list({text("Brevoir")}),
         {"results: 7"}},
        {[](auto& b) { b.getTracksForPlaylist("Réunions"); },
         "get_tracks_for_playlist",
         list({text("Réunions")}),
         {"results: 0"}},
        // No arguments: the list is still sent, empty.
        {[](auto& b) { b.encoderList(); }, "get_encoder_list", list({}), {"results: 0"}},
        {[](auto& b) { b.importFilesToPlaylist({}, "P"); },
         "import_files_to_playlist",
         list({list({}), text("P")}),
         {"results: 7"}},
        {[](auto& b) {
             b.importFilesToPlaylistWithEncoder({"/a b.mov", "/c.mov"}, "P", "AAC");
         },
         "import_files_to_playlist_with_conversion",
         list({list({text("/a b.mov"), text("/c.mov")}), text("P"), text("AAC")}),
         {"results: 7"}},
        {[](auto& b) { b.removeTracks({"x"}); },
         "remove_tracks",
         list({list({text("x")})}),
         {"results: 7"}},
    };
    component->answer = HandlerDescriptor::descriptorWithInt32(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handler);
        component->events.clear();
        LogCapture log;
        c.call(*bridge);
        ASSERT_EQ(component->events.size(), 1u);
        const HandlerEvent& event = component->events.front();
        EXPECT_EQ(event.eventClass, fourCharCode("ascr"));
        EXPECT_EQ(event.eventID, fourCharCode("psbr"));
        EXPECT_EQ(event.targetProcess, int32_t(QCoreApplication::applicationPid()));
        EXPECT_EQ(event.returnID, -1);
        EXPECT_EQ(event.transactionID, 0);
        EXPECT_EQ(event.parameter(fourCharCode("snam")), text(c.handler));
        ASSERT_EQ(event.parameters.count(fourCharCode("----")), 1u);
        EXPECT_EQ(event.parameter(fourCharCode("----")), c.arguments);
        EXPECT_EQ(log.lines(), c.log);
    }
}

TEST_F(Bridge, ListAnswersAreUnpackedAndLoggedItemByItem) {
    component->answer =
        list({text("Recording A"), HandlerDescriptor::descriptorWithInt32(2), text("C")});
    LogCapture log;
    EXPECT_EQ(bridge->getTracksForPlaylist("P"), (QStringList{"Recording A", "2", "C"}));
    EXPECT_EQ(bridge->encoderList(), (QStringList{"Recording A", "2", "C"}));
    EXPECT_EQ(log.lines(), (QStringList{"results: 3", "track 1: Recording A", "track 2: 2",
                                        "track 3: C", "results: 3", "encoder 1: Recording A",
                                        "encoder 2: 2", "encoder 3: C"}));
    // An answer that is not a list holds no tracks.
    component->answer = text("not a list");
    EXPECT_TRUE(bridge->getTracksForPlaylist("P").isEmpty());

    // A long playlist is answered whole; its first hundred tracks are logged, the rest counted.
    component->answer = HandlerDescriptor::listDescriptor();
    for (int i = 1; i <= 5000; ++i)
        component->answer.insertDescriptorAtIndex(text(qPrintable(QString::number(i))), 0);
    log.clear();
    EXPECT_EQ(bridge->getTracksForPlaylist("P").size(), 5000);
    EXPECT_EQ(log.lines().size(), 102);
    EXPECT_EQ(log.lines().mid(100),
              (QStringList{"track 100: 100", "tracks 101 to 5000 not logged"}));
}

TEST_F(Bridge, AFailingCallBeepsLogsItsNumberAndAnswersNothing) {
    component->failing = true;
    struct Case {
        std::function<QStringList(QKTunesController&)> call;
        const char* line;
    };
    const Case cases[] = {
        {[](auto& b) {
             b.createPlaylist("P");
             return QStringList();
         },
         "error running script 1"},
        {[](auto& b) { return b.getTracksForPlaylist("P"); }, "error running script 2"},
        {[](auto& b) { return b.encoderList(); }, "error running script 3"},
        {[](auto& b) {
             b.importFilesToPlaylist({"/a"}, "P");
             return QStringList();
         },
         "error running script 4"},
        {[](auto& b) {
             b.importFilesToPlaylistWithEncoder({"/a"}, "P", "MP3");
             return QStringList();
         },
         "error running script 5"},
        {[](auto& b) {
             b.removeTracks({"a"});
             return QStringList();
         },
         "error running script 6"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        bridge->clearLastError();
        LogCapture log;
        const int beeps = beepCount();
        EXPECT_TRUE(c.call(*bridge).isEmpty());
        EXPECT_EQ(beepCount(), beeps + 1);
        ASSERT_GE(log.lines().size(), 2);
        EXPECT_EQ(log.lines()[0], QString::fromLatin1(c.line));
        EXPECT_EQ(log.lines()[1], "results: 0");
        EXPECT_EQ(bridge->lastError(), "the playlists are gone");
    }
}

TEST(BridgeLoading, AMissingComponentEndsTheBridgesCreationWithTheException) {
    PlaylistComponents::setFactory(QStringLiteral("iTunesController.scpt"), {});
    LogCapture log;
    try {
        QKTunesController bridge;
        ADD_FAILURE() << "created without a component";
    } catch (const std::runtime_error& problem) {
        EXPECT_STREQ(problem.what(), "There was a problem initializing the applescript.");
    }
    PlaylistComponents::restoreDefaults();
    EXPECT_EQ(log.lines().value(0), "QKTunesController - init");
    QKTunesController loaded; // the M3U playlists, built in
}
