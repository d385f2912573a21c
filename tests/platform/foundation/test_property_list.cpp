// Property lists: what we write reads back equal, text that XML cannot carry is refused rather
// than written, and files that are not regular are refused unread.
#include "platform/foundation/FileNames.h"
#include "platform/foundation/PropertyList.h"
#include "support/StandIns.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

QVariantMap readBack(const QVariantMap& dictionary) {
    QString problem;
    const std::optional<QByteArray> xml = PropertyList::xmlOfDictionary(dictionary, &problem);
    EXPECT_TRUE(xml) << problem.toStdString();
    return PropertyList::dictionaryFromBytes(xml.value_or(QByteArray())).value_or(QVariantMap{});
}

} // namespace

TEST(PropertyList, WhatWeWriteReadsBackEqual) {
    QString longText;
    for (int i = 0; i < 2000; ++i)
        longText += QChar(u"aü♪&<"[i % 5]);
    const QDateTime withMs(QDate(2024, 2, 29), QTime(23, 59, 58, 125), Qt::UTC);
    const struct {
        const char* what;
        QVariant value;
    } cases[] = {
        {"a negative integer", qint64(-3)},
        {"the smallest integer", std::numeric_limits<qint64>::min()},
        {"the largest unsigned integer", std::numeric_limits<quint64>::max()},
        {"an int", -7},
        {"reals", QVariantList{0.1, -2.5e-300, 1e300, 3.0}},
        {"infinity", std::numeric_limits<double>::infinity()},
        {"booleans", QVariantList{true, false}},
        {"data", QByteArray("\x00\x01\xff\r\n bytes", 11)},
        {"a date", QDateTime(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC)},
        {"a date with milliseconds", withMs},
        {"markup characters", QStringLiteral("R&D <draft> ]]> \"q\" 'a'")},
        {"a carriage return", QStringLiteral("one\rtwo\r\nthree")},
        {"tabs and line feeds", QStringLiteral("\tone\ntwo  ")},
        {"characters beyond the first plane", QStringLiteral("🎙 𝄞")},
        {"an empty string", QStringLiteral("")},
        {"2000 characters", longText},
        {"nesting", QVariantList{QVariantMap{{"k", QVariantList{}}}, QVariantMap{}, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QVariantMap dictionary{{QStringLiteral("key\r\n&<%1>").arg(c.what), c.value}};
        EXPECT_EQ(readBack(dictionary), dictionary);
    }
    // Dates are written in UTC: the same moment reads back.
    const QDateTime offset(QDate(2020, 6, 1), QTime(12, 0), Qt::OffsetFromUTC, 7200);
    EXPECT_EQ(readBack({{"d", offset}}).value("d").toDateTime(), offset);
    EXPECT_TRUE(std::isnan(readBack({{"n", std::nan("")}}).value("n").toDouble()));
}

TEST(PropertyList, TextThatXmlCannotCarryIsRefusedAndNothingIsWritten) {
    QStringList refused;
    for (char16_t c = 0; c < 0x20; ++c) {
        if (c != '\t' && c != '\n' && c != '\r')
            refused << QStringLiteral("a%1b").arg(QChar(c));
    }
    refused << QString(QChar(0xD800)) << QStringLiteral("x") + QChar(0xDC80)
            << FileNames::decode("bad\xff.mov") << QString(QChar(0xFFFE)) << QString(QChar(0xFFFF));
    QTemporaryDir dir;
    const FilePath path = FilePath::fromString(dir.filePath("list.plist"));
    ASSERT_TRUE(PropertyList::writeDictionary(path, {{"kept", 1}}, nullptr));
    for (const QString& text : refused) {
        SCOPED_TRACE(FileNames::encode(text).toHex().toStdString());
        EXPECT_FALSE(PropertyList::isXmlText(text));
        for (const QVariantMap& dictionary :
             {QVariantMap{{"key", text}}, QVariantMap{{text, "value"}},
              QVariantMap{{"list", QVariantList{QVariantMap{{"deep", text}}}}}}) {
            QString problem;
            EXPECT_FALSE(PropertyList::xmlOfDictionary(dictionary, &problem));
            EXPECT_FALSE(problem.isEmpty());
            SafeFile::Problem failure;
            EXPECT_FALSE(PropertyList::writeDictionary(path, dictionary, &failure));
            EXPECT_FALSE(failure.reason.isEmpty());
        }
    }
    EXPECT_EQ(PropertyList::readDictionary(path).dictionary, (QVariantMap{{"kept", qint64(1)}}));
    for (const char* text : {"\t\n\r", "plain", "♪ 🎙"})
        EXPECT_TRUE(PropertyList::isXmlText(QString::fromUtf8(text))) << text;
    // Nothing we read could fail to be written again: a reference to a character XML does not
    // allow is refused on reading.
    EXPECT_FALSE(PropertyList::dictionaryFromBytes(
        "<plist version=\"1.0\"><dict><key>a</key><string>&#1;</string></dict></plist>"));
    EXPECT_FALSE(PropertyList::dictionaryFromBytes(
        "<plist version=\"1.0\"><dict><key>&#xFFFE;</key><string/></dict></plist>"));
}

TEST(PropertyList, WhatIsNotARegularFileIsRefusedUnread) {
    QTemporaryDir dir;
    const FilePath root = FilePath::fromString(dir.path());
    const FilePath library = root / "library";
    ASSERT_EQ(::mkdir(library.c_str(), 0755), 0);
    const FilePath outside = root / "outside.plist";
    ASSERT_TRUE(PropertyList::writeDictionary(outside, {{"secret", true}}, nullptr));
    for (const StandIns::StandIn& standIn : StandIns::kAll) {
        SCOPED_TRACE(standIn.what);
        const FilePath path = library / QStringLiteral("stand-in-%1").arg(int(standIn.kind));
        ASSERT_TRUE(StandIns::make(standIn.kind, path, outside));
        const QByteArray before = StandIns::describe(path);
        const PropertyList::ReadResult read = PropertyList::readDictionary(path, library);
        if (standIn.kind == StandIns::Kind::DanglingLink) {
            EXPECT_EQ(read.status, PropertyList::ReadResult::Missing);
        } else {
            EXPECT_EQ(read.status, PropertyList::ReadResult::Refused);
            EXPECT_TRUE(read.problem.contains(path.display())) << read.problem.toStdString();
        }
        EXPECT_TRUE(read.dictionary.isEmpty());
        EXPECT_EQ(StandIns::describe(path), before);
        // Writing over it is refused too, and nothing goes through a link.
        SafeFile::Problem problem;
        EXPECT_FALSE(PropertyList::writeDictionary(path, {{"new", 1}}, &problem));
        EXPECT_EQ(StandIns::describe(path), before);
    }
    EXPECT_EQ(PropertyList::readDictionary(outside).dictionary, (QVariantMap{{"secret", true}}));
}
