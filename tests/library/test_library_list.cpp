#include "library/LibraryFixture.h"
#include "library/QBVTrackTableModel.h"
#include "library/QKFileSizeFormatter.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QMainWindow>
#include <QMimeData>
#include <QTest>
#include <QUrl>

namespace {

using Model = QBVTrackTableModel;

struct Library {
    const char* name;
    QDate date;
    const char* category; // none when null
};

class LibraryList : public LibraryFixture {
protected:
    // Five recordings with known dates and categories, newest last in the folder.
    void launchWithTracks() {
        const Library tracks[] = {
            {"Recording 1.mov", QDate(2021, 1, 1), "General"},
            {"REC party.mov", QDate(2021, 3, 1), nullptr},
            {"interview.mov", QDate(2021, 2, 1), "Work"},
            {"misc.mov", QDate(2020, 12, 1), "Precious"},
            {"notes.m4a", QDate(2021, 4, 1), nullptr},
        };
        ASSERT_TRUE(QDir().mkpath(recordings()));
        for (const Library& t : tracks)
            writeFile(recordings() + QLatin1Char('/') + QLatin1String(t.name), t.name);
        launch();
        for (const Library& t : tracks) {
            const auto made = track(QLatin1String(t.name));
            ASSERT_TRUE(made);
            made->setDate(QDateTime(t.date, QTime(12, 0)));
            made->setCategory(t.category ? QString::fromLatin1(t.category) : QString());
        }
        list().rearrangeObjects();
        ui->window()->show();
    }

    QStringList tableRows() const {
        QStringList rows;
        QAbstractItemModel* model = table().model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, Model::NameColumn).data().toString();
        return rows;
    }

    void search(const QString& text) const { controller->searchField->setText(text); }

    void clickHeader(int column) const {
        QHeaderView* header = table().horizontalHeader();
        QTest::mouseClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    }

    int rowOf(const QString& name) const { return int(tableRows().indexOf(name)); }
};

struct SelectionPost {
    QString name;
    const void* object;
    QStringList selectedDuring;
};

TEST_F(LibraryList, NewestFirstAndTheTableShowsExactlyTheArrangedTracks) {
    launchWithTracks();
    const QStringList newestFirst{"notes.m4a", "REC party.mov", "interview.mov", "Recording 1.mov",
                                  "misc.mov"};
    EXPECT_EQ(shown(), newestFirst);
    EXPECT_EQ(tableRows(), newestFirst);
    EXPECT_EQ(table().horizontalHeader()->sortIndicatorSection(), int(Model::DateColumn));
    EXPECT_EQ(table().horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);

    clickHeader(Model::NameColumn);
    const QStringList byName{"interview.mov", "misc.mov", "notes.m4a", "REC party.mov",
                             "Recording 1.mov"};
    EXPECT_EQ(shown(), byName);
    EXPECT_EQ(tableRows(), byName);
    clickHeader(Model::NameColumn);
    QStringList reversed = byName;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(tableRows(), reversed);
    // Sorting never touches the file list itself.
    EXPECT_EQ(listed().size(), 5);
}

TEST_F(LibraryList, SearchIsALiteralCaseInsensitiveTestOfNameOrCategory) {
    launchWithTracks();
    search(QStringLiteral("rec"));
    EXPECT_EQ(tableRows(), (QStringList{"REC party.mov", "Recording 1.mov", "misc.mov"}));
    search(QStringLiteral("WORK"));
    EXPECT_EQ(tableRows(), QStringList{"interview.mov"});
    search(QStringLiteral("w.m"));
    EXPECT_EQ(tableRows(), QStringList{"interview.mov"});
    search(QStringLiteral("rec*"));
    EXPECT_TRUE(tableRows().isEmpty());
    // Tracks without a category match by name only.
    search(QStringLiteral("m4a"));
    EXPECT_EQ(tableRows(), QStringList{"notes.m4a"});
    search(QString());
    EXPECT_EQ(tableRows().size(), 5);

    // A track added while a search is on shows once the list is re-arranged, if it matches.
    search(QStringLiteral("rec"));
    writeFile(recordings() + QStringLiteral("/another recording.mov"), "new");
    writeFile(recordings() + QStringLiteral("/unrelated.mov"), "new");
    controller->updateFileList();
    EXPECT_TRUE(tableRows().contains(QStringLiteral("another recording.mov")));
    EXPECT_FALSE(tableRows().contains(QStringLiteral("unrelated.mov")));
    EXPECT_EQ(listed().size(), 7);
}

TEST_F(LibraryList, TheSelectionStaysOnItsTracksAndChangesAreAnnounced) {
    launchWithTracks();
    std::vector<SelectionPost> posts;
    int sentinel = 0;
    for (const char* name : {"NSTableViewSelectionIsChangingNotification",
                             "NSTableViewSelectionDidChangeNotification"}) {
        NotificationCenter::defaultCenter().addObserver(
            &sentinel, QString::fromLatin1(name), [this, &posts](const Notification& n) {
                posts.push_back({n.name, n.object, names(list().selectedObjects())});
            });
    }
    const auto cleanup =
        qScopeGuard([&sentinel] { NotificationCenter::defaultCenter().removeObserver(&sentinel); });

    // The user picks two rows.
    QTest::mouseClick(
        table().viewport(), Qt::LeftButton, {},
        table().visualRect(table().model()->index(rowOf("interview.mov"), 1)).center());
    QTest::mouseClick(table().viewport(), Qt::LeftButton, Qt::ControlModifier,
                      table().visualRect(table().model()->index(rowOf("misc.mov"), 1)).center());
    ASSERT_EQ(posts.size(), 4u);
    EXPECT_EQ(posts[0].name, QStringLiteral("NSTableViewSelectionIsChangingNotification"));
    EXPECT_EQ(posts[0].object, &table());
    EXPECT_TRUE(posts[0].selectedDuring.isEmpty());
    EXPECT_EQ(posts[1].name, QStringLiteral("NSTableViewSelectionDidChangeNotification"));
    EXPECT_EQ(posts[1].selectedDuring, QStringList{"interview.mov"});
    EXPECT_EQ(posts[2].selectedDuring, QStringList{"interview.mov"});
    EXPECT_EQ(posts[3].selectedDuring, (QStringList{"interview.mov", "misc.mov"}));

    // Filtering one of them out changes the selection: announced, the old one readable first.
    posts.clear();
    search(QStringLiteral("rec"));
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].selectedDuring, (QStringList{"interview.mov", "misc.mov"}));
    EXPECT_EQ(posts[1].selectedDuring, QStringList{"misc.mov"});

    // Re-sorting and clearing the search keep it on the same track, silently.
    posts.clear();
    clickHeader(Model::NameColumn);
    search(QString());
    EXPECT_TRUE(posts.empty());
    EXPECT_EQ(names(list().selectedObjects()), QStringList{"misc.mov"});
    const QModelIndexList rows = table().selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].row(), rowOf("misc.mov"));
    EXPECT_EQ(list().selectionIndexes(), QList<int>{rowOf("misc.mov")});

    // Removing a selected track through the controller deselects it.
    list().removeObject(track(QStringLiteral("misc.mov")));
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_TRUE(list().selectedObjects().empty());
    EXPECT_FALSE(listed().contains(QStringLiteral("misc.mov")));
    EXPECT_EQ(tableRows().size(), 4);
}

TEST_F(LibraryList, DraggingOutGivesThePathsOfTheShownTracks) {
    launchWithTracks();
    clickHeader(Model::NameColumn);
    search(QStringLiteral("rec"));
    ASSERT_EQ(tableRows(), (QStringList{"misc.mov", "REC party.mov", "Recording 1.mov"}));

    QAbstractItemModel* model = table().model();
    EXPECT_EQ(model->mimeTypes(), QStringList{QStringLiteral("text/uri-list")});
    LogCapture log;
    std::unique_ptr<QMimeData> one(
        model->mimeData({model->index(0, Model::NameColumn), model->index(0, Model::DateColumn)}));
    const QString misc = recordings() + QStringLiteral("/misc.mov");
    ASSERT_TRUE(one);
    EXPECT_EQ(one->urls(), QList<QUrl>{QUrl::fromLocalFile(misc)});
    const QStringList lines = log.lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("fileList: (<QBVTrack: ")));
    EXPECT_EQ(lines[0].count(QStringLiteral("<QBVTrack: ")), 5); // the whole file list
    EXPECT_EQ(lines[1], QStringLiteral("added path: ") + misc);
    EXPECT_EQ(lines[2], QStringLiteral("finished creating array..."));
    EXPECT_EQ(lines[3], QStringLiteral("paths: (\"%1\")").arg(misc));

    // Several rows leave in the order shown.
    std::unique_ptr<QMimeData> two(
        model->mimeData({model->index(2, Model::NameColumn), model->index(1, Model::NameColumn)}));
    EXPECT_EQ(
        two->urls(),
        (QList<QUrl>{QUrl::fromLocalFile(recordings() + QStringLiteral("/REC party.mov")),
                     QUrl::fromLocalFile(recordings() + QStringLiteral("/Recording 1.mov"))}));
    EXPECT_EQ(table().draggingSourceOperationMaskForLocal(false), Qt::CopyAction);
    EXPECT_TRUE(table().draggingSourceOperationMaskForLocal(true) & Qt::MoveAction);
}

TEST_F(LibraryList, NamesAreEditedInPlaceAndUnusableNamesRefused) {
    launchWithTracks();
    std::vector<QVariantMap> renames;
    int sentinel = 0;
    NotificationCenter::defaultCenter().addObserver(
        &sentinel, QStringLiteral("QBVTrackNameChangedNotification"),
        [&renames](const Notification& n) { renames.push_back(n.userInfo); });
    const auto cleanup =
        qScopeGuard([&sentinel] { NotificationCenter::defaultCenter().removeObserver(&sentinel); });

    QAbstractItemModel* model = table().model();
    const QModelIndex name = model->index(rowOf("misc.mov"), Model::NameColumn);
    EXPECT_TRUE(model->flags(name) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, Model::SizeColumn)) & Qt::ItemIsEditable);
    for (const QString& refused : {QString(), QStringLiteral("a/b.mov"), QStringLiteral("..")})
        EXPECT_FALSE(model->setData(name, refused, Qt::EditRole));
    EXPECT_EQ(name.data().toString(), QStringLiteral("misc.mov"));

    renames.clear();
    EXPECT_TRUE(model->setData(name, QStringLiteral("Birthday.mov"), Qt::EditRole));
    ASSERT_EQ(renames.size(), 1u);
    EXPECT_EQ(renames[0].value(QStringLiteral("old name")).toString(), QStringLiteral("misc.mov"));
    EXPECT_EQ(renames[0].value(QStringLiteral("new name")).toString(),
              QStringLiteral("Birthday.mov"));
    EXPECT_EQ(name.data().toString(), QStringLiteral("Birthday.mov"));
}

TEST_F(LibraryList, ColumnsShowSizeDurationAndDateAsFormatted) {
    ASSERT_TRUE(QDir().mkpath(recordings()));
    writeRecording(recordings() + QStringLiteral("/tone.mov"), 1.5);
    launch();
    QBVTableView& view = table();
    EXPECT_EQ(view.columnWithIdentifier(QStringLiteral("size")), int(Model::SizeColumn));
    EXPECT_EQ(view.columnWithIdentifier(QStringLiteral("duration")), int(Model::DurationColumn));
    ASSERT_TRUE(view.formatterForColumn(QStringLiteral("size")));

    const auto tone = track(QStringLiteral("tone.mov"));
    QAbstractItemModel* model = view.model();
    const quint64 size = QFileInfo(recordings() + QStringLiteral("/tone.mov")).size();
    EXPECT_EQ(model->index(0, Model::SizeColumn).data().toString(), byteCountText(float(size)));
    EXPECT_EQ(model->index(0, Model::DurationColumn).data().toString(),
              QStringLiteral("00:00:01.50"));
    EXPECT_EQ(model->index(0, Model::DateColumn).data().toString(),
              QLocale().toString(tone->date()->toLocalTime(), QLocale::ShortFormat));
    EXPECT_EQ(model->index(0, Model::DurationColumn).data(Qt::TextAlignmentRole).toInt(),
              int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model->index(0, Model::PlayingColumn).data(Qt::DecorationRole).isValid());
    // The name column takes the room the others leave.
    EXPECT_EQ(view.horizontalHeader()->sectionResizeMode(Model::NameColumn), QHeaderView::Stretch);
}

} // namespace
