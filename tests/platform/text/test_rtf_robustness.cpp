#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <QFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(BREVOIR_TEXT_FIXTURES "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString loadedText(const QByteArray& rtf) {
    QTextDocument document;
    EXPECT_TRUE(Rtf::read(rtf, &document));
    return document.toPlainText();
}

// Damaged and hostile files load what can be read, in bounded time and memory.
TEST(RtfReaderRobustness, HostileFilesLoadWhatCanBeRead) {
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
    };
    const QByteArray deep = QByteArray(200'000, '{');
    const std::vector<Case> cases = {
        {"unbalanced closing braces", "{\\rtf1 abc}}}}} def}", QStringLiteral("abc def")},
        {"truncated in a group", "{\\rtf1 {\\b bold {\\i and ital",
         QStringLiteral("bold and ital")},
        {"truncated in a control word", "{\\rtf1 text\\par more\\ul", QStringLiteral("text\nmore")},
        {"truncated in an escape", "{\\rtf1 a\\'", QStringLiteral("a")},
        {"deep nesting", "{\\rtf1 " + deep + "deep text" + deep + " after",
         QStringLiteral("deep text after")},
        {"nesting in the font table",
         "{\\rtf1{\\fonttbl" + deep + "}}}" + QByteArray(200'000, '}') + " visible}",
         QStringLiteral(" visible")},
        {"huge numbers",
         "{\\rtf1\\fs99999999999999999999 a\\cf-99999999999999 b\\u99999999999? "
         "c\\uc99999999999 d\\li-999999999999999 e\\ls999999999 f}",
         QStringLiteral("ab\ufffd cdef")},
        {"huge \\bin", "{\\rtf1 a{\\pict\\bin999999999999 xyz}", QStringLiteral("a")},
        {"a picture that never ends", "{\\rtf1 a{\\pict\\pngblip 89504e470d0a1a0a",
         QStringLiteral("a")},
        {"nothing but control words", "{\\rtf1\\b\\i\\par\\par", QStringLiteral("\n")},
        {"a list override naming no list", "{\\rtf1\\ls7\\ilvl99 item\\par}",
         QStringLiteral("item")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(loadedText(c.rtf).toStdString(), c.text.toStdString());
    }
}

TEST(RtfReaderRobustness, BytesThatAreNotRtfAreRefusedAndTheDocumentKept) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("plain text"), QByteArray("{\\rtX1 nearly}"),
          QByteArray("\x89PNG\r\n\x1a\n", 8)}) {
        QTextDocument document(QStringLiteral("kept"));
        QString error;
        EXPECT_FALSE(Rtf::read(bytes, &document, {}, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(document.toPlainText(), QStringLiteral("kept"));
    }
}

QByteArray ourOwnNote() {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat format;
    format.setFontWeight(QFont::Bold);
    format.setForeground(Qt::red);
    format.setFontFamilies({QStringLiteral("DejaVu Sans")});
    cursor.insertText(QStringLiteral("Bold red Ελληνικά 中文 🎙 "), format);
    cursor.insertBlock();
    cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("item"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("link"));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("i")), image);
    QTextImageFormat picture;
    picture.setName(QStringLiteral("i"));
    cursor.insertImage(picture);
    return Rtf::write(document, Rtf::Images::Embedded);
}

// Mutated real files (flipped, inserted, deleted and duplicated bytes, truncations, brace
// floods) never crash or hang the reader; the sanitizer build checks the rest.
TEST(RtfReaderRobustness, MutatedFilesNeverCrashTheReader) {
    const std::vector<QByteArray> seeds = {fixture(QStringLiteral("libreoffice-note.rtf")),
                                           ourOwnNote()};
    ASSERT_FALSE(seeds[0].isEmpty());
    const QByteArray specials = "{}\\'*;?0123456789-uclsfbpar \n";
    std::mt19937 random(20240611);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray rtf = seeds[round % seeds.size()];
        const auto at = [&] { return qsizetype(random() % (rtf.size() + 1)); };
        const int mutations = 1 + int(random() % 8);
        for (int m = 0; m < mutations && !rtf.isEmpty(); ++m) {
            switch (random() % 7) {
            case 0:
                rtf[at() % rtf.size()] = char(random());
                break;
            case 1:
                rtf.insert(at(), specials[random() % specials.size()]);
                break;
            case 2:
                rtf.remove(at(), qsizetype(random() % 64));
                break;
            case 3:
                rtf.truncate(at());
                break;
            case 4: {
                const qsizetype from = at();
                rtf.insert(at(), rtf.mid(from, qsizetype(random() % 256)));
                break;
            }
            case 5:
                rtf.insert(at(), QByteArray(qsizetype(random() % 3000), random() % 2 ? '{' : '}'));
                break;
            default:
                rtf.insert(at(),
                           QByteArray("\\u") + QByteArray::number(qint64(random()) - (1LL << 31)));
                break;
            }
        }
        QTextDocument document;
        loaded += Rtf::read(rtf, &document) ? 1 : 0;
    }
    EXPECT_GT(loaded, 2000) << "most mutations keep the header and are read";
}

} // namespace
