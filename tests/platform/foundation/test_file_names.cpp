#include "platform/foundation/FileNames.h"

#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

TEST(FileNames, EveryByteStringRoundTrips) {
    QRandomGenerator random(15);
    for (int n = 0; n < 5000; ++n) {
        QByteArray bytes(random.bounded(1, 40), Qt::Uninitialized);
        for (char& byte : bytes) {
            // Bias towards the lead and continuation bytes that make sequences nearly valid.
            const quint32 pick = random.bounded(4);
            byte = char(pick == 0   ? random.bounded(0x80, 0x100)
                        : pick == 1 ? 0xE0 | random.bounded(16)
                        : pick == 2 ? 0x80 | random.bounded(64)
                                    : random.bounded(0x20, 0x80));
        }
        ASSERT_EQ(FileNames::encode(FileNames::decode(bytes)), bytes) << bytes.toHex().constData();
    }
    // Byte-order marks are characters of the name, wherever they stand.
    for (const QByteArray& bytes :
         {QByteArray("\xEF\xBB\xBF" "a.mov"), QByteArray("\xEF\xBB\xEF\xBB\xBF\xBF")})
        EXPECT_EQ(FileNames::encode(FileNames::decode(bytes)), bytes) << bytes.toHex().constData();
}

TEST(FileNames, ValidNamesAreWhatQtMakesOfThem) {
    const QString names[] = {"Recording 1234567890.mov", "Aufnahme über Köln.mov",
                             "録音 🎙.mov", "a/b c"};
    for (const QString& name : names) {
        EXPECT_EQ(FileNames::decode(QFile::encodeName(name)), name);
        EXPECT_EQ(FileNames::encode(name), QFile::encodeName(name));
        EXPECT_EQ(FileNames::encodePath("/home/ü/Recordings/" + name),
                  QFile::encodeName("/home/ü/Recordings/" + name));
        EXPECT_EQ(FileNames::displayName(name), name);
        EXPECT_FALSE(FileNames::hasEscapedBytes(name));
    }
}

TEST(FileNames, InvalidBytesStayDistinctAndShowAsReplacementCharacters) {
    struct Case {
        QByteArray bytes;
        QString shown;
    };
    const Case cases[] = {
        {"Rec \xE9t\xE9.mov", u"Rec \uFFFDt\uFFFD.mov"_qs}, // Latin-1
        {"Rec \xE8t\xE9.mov", u"Rec \uFFFDt\uFFFD.mov"_qs}, // differs only in the invalid byte
        {"\xC0\xAF.mov", u"\uFFFD\uFFFD.mov"_qs},           // overlong '/'
        {"\xED\xB2\x80.mov", u"\uFFFD\uFFFD\uFFFD.mov"_qs}, // an encoded surrogate is not text
        {"\xF0\x9F\x8E.mov", u"\uFFFD\uFFFD\uFFFD.mov"_qs}, // truncated 4-byte sequence
    };
    QStringList decoded;
    for (const Case& c : cases) {
        const QString name = FileNames::decode(c.bytes);
        EXPECT_TRUE(FileNames::hasEscapedBytes(name));
        EXPECT_EQ(FileNames::displayName(name), c.shown) << c.bytes.toHex().constData();
        EXPECT_EQ(FileNames::encodePath("/tmp/x/" + name), "/tmp/x/" + c.bytes);
        EXPECT_FALSE(decoded.contains(name));
        decoded << name;
    }
}
