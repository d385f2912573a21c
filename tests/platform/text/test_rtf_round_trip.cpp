#include "DocumentDescription.h"

#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"
#include "platform/text/RtfdFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 8, y * 8, 128));
    return image;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList folderContents(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Every kind of formatting the note editor offers, set the way the editor sets it.
class EditorDocument {
public:
    EditorDocument() : _cursor(&document) {}

    void text(const QString& text, const QTextCharFormat& format = {}) {
        _cursor.insertText(text, format);
    }
    void paragraph(Qt::Alignment alignment = {}) {
        _cursor.insertBlock();
        QTextBlockFormat format;
        if (alignment)
            format.setAlignment(alignment);
        _cursor.setBlockFormat(format);
    }
    QTextList* list(QTextListFormat::Style style, int indent = 1, const QString& prefix = {},
                    const QString& suffix = {}) {
        _cursor.insertBlock();
        _cursor.setBlockFormat(QTextBlockFormat());
        QTextListFormat format;
        format.setStyle(style);
        format.setIndent(indent);
        if (!prefix.isEmpty())
            format.setNumberPrefix(prefix);
        if (!suffix.isEmpty())
            format.setNumberSuffix(suffix);
        return _cursor.createList(format);
    }
    void item(QTextList* list) {
        _cursor.insertBlock();
        _cursor.setBlockFormat(QTextBlockFormat());
        list->add(_cursor.block());
    }
    void image(const QString& name, const QVariant& resource, double width = 0, double height = 0) {
        document.addResource(QTextDocument::ImageResource, QUrl(name), resource);
        QTextImageFormat format;
        format.setName(name);
        if (width > 0)
            format.setWidth(width);
        if (height > 0)
            format.setHeight(height);
        _cursor.insertImage(format);
    }

    QTextDocument document;

private:
    QTextCursor _cursor;
};

QTextCharFormat format(void (*set)(QTextCharFormat&)) {
    QTextCharFormat f;
    set(f);
    return f;
}

// The photo keeps its JPEG bytes through every save and load.
const QByteArray& photo() {
    static const QByteArray bytes = encoded(gradient(24, 16), "JPEG");
    return bytes;
}

void buildEveryFormat(EditorDocument& d) {
    d.text(QStringLiteral("Plain "));
    d.text(QStringLiteral("bold "),
           format([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }));
    d.text(QStringLiteral("italic "), format([](QTextCharFormat& f) { f.setFontItalic(true); }));
    d.text(QStringLiteral("under "), format([](QTextCharFormat& f) { f.setFontUnderline(true); }));
    d.text(QStringLiteral("struck "), format([](QTextCharFormat& f) { f.setFontStrikeOut(true); }));
    d.text(QStringLiteral("red "),
           format([](QTextCharFormat& f) { f.setForeground(QColor(200, 10, 20)); }));
    d.text(QStringLiteral("marked "),
           format([](QTextCharFormat& f) { f.setBackground(Qt::yellow); }));
    d.text(QStringLiteral("serif 18"), format([](QTextCharFormat& f) {
               f.setFontFamilies({QStringLiteral("DejaVu Serif")});
               f.setFontPointSize(18);
               f.setFontWeight(QFont::Bold);
               f.setFontItalic(true);
               f.setForeground(QColor(0, 90, 200));
           }));
    d.text(QStringLiteral(" x"));
    d.text(QStringLiteral("2"), format([](QTextCharFormat& f) {
               f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
           }));
    d.text(QStringLiteral(" H"));
    d.text(QStringLiteral("2"), format([](QTextCharFormat& f) {
               f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
           }));
    d.text(QStringLiteral("O 10.5pt"),
           format([](QTextCharFormat& f) { f.setFontPointSize(10.5); }));

    d.paragraph(Qt::AlignHCenter);
    d.text(QStringLiteral("Ελληνικά, кириллица, 中文, 日本語, 한국어, עברית, emoji "
                          "🎙️👍🏽 "
                          "done"));
    d.paragraph(Qt::AlignRight);
    d.text(QStringLiteral("tab\there") + QChar(QChar::LineSeparator) + QStringLiteral("next line"));
    d.paragraph(Qt::AlignJustify);
    d.text(QStringLiteral("Escapes: \\ { } ; \\par \\u123? {\\b not bold} end"));
    d.paragraph(Qt::AlignLeft | Qt::AlignAbsolute);
    d.text(QStringLiteral("A "));
    d.text(QStringLiteral("link"), format([](QTextCharFormat& f) {
               f.setAnchor(true);
               f.setAnchorHref(QStringLiteral("https://example.org/a?b=1&c=\"q\"#top"));
               f.setFontUnderline(true);
           }));

    QTextList* bullets = d.list(QTextListFormat::ListDisc);
    d.text(QStringLiteral("first bullet"));
    d.item(bullets);
    d.text(QStringLiteral("second bullet"));
    QTextList* nested = d.list(QTextListFormat::ListCircle, 2);
    d.text(QStringLiteral("nested circle"));
    d.item(bullets);
    d.text(QStringLiteral("third bullet, after the nested one"));
    d.list(QTextListFormat::ListSquare, 3);
    d.text(QStringLiteral("square"));
    Q_UNUSED(nested);

    QTextList* numbers = d.list(QTextListFormat::ListDecimal);
    d.text(QStringLiteral("one"));
    d.item(numbers);
    d.text(QStringLiteral("two"));
    d.list(QTextListFormat::ListLowerAlpha, 2);
    d.text(QStringLiteral("a"));
    d.list(QTextListFormat::ListUpperAlpha, 2, QStringLiteral("("), QStringLiteral(")"));
    d.text(QStringLiteral("(A)"));
    d.list(QTextListFormat::ListLowerRoman);
    d.text(QStringLiteral("i"));
    d.list(QTextListFormat::ListUpperRoman);
    d.text(QStringLiteral("I"));

    d.paragraph();
    d.text(QStringLiteral("Photo: "));
    d.image(QStringLiteral("holiday photo.jpg"), photo(), 48, 32);
    d.text(QStringLiteral(" and a pasted image: "));
    d.image(QStringLiteral("pasted"), gradient(10, 6));
    d.text(QStringLiteral(" and the photo again "));
    d.image(QStringLiteral("holiday photo.jpg"), photo());
    d.paragraph();
}

class RtfRoundTrip : public ::testing::Test {
protected:
    void SetUp() override { buildEveryFormat(_original); }

    QString notePath(const QString& name = QStringLiteral("Interview.rtfd")) const {
        return _root.filePath(name);
    }

    EditorDocument _original;
    QTemporaryDir _root;
};

TEST_F(RtfRoundTrip, NoteFolderLoadsBackEveryFormatAndSavesTheSameBytesAgain) {
    QString error;
    ASSERT_TRUE(Rtfd::write(_original.document, FilePath::fromString(notePath()), &error))
        << error.toStdString();
    // One file per distinct image beside the text, named after the image.
    EXPECT_EQ(folderContents(notePath()),
              (QStringList{QStringLiteral("TXT.rtf"), QStringLiteral("holiday_photo.jpg"),
                           QStringLiteral("pasted.png")}));
    EXPECT_EQ(readFile(notePath() + QStringLiteral("/holiday_photo.jpg")), photo());

    QTextDocument loaded;
    ASSERT_TRUE(Rtfd::read(FilePath::fromString(notePath()), &loaded, &error))
        << error.toStdString();
    EXPECT_EQ(describeDocument(loaded).toStdString(),
              describeDocument(_original.document).toStdString());
    EXPECT_EQ(loaded.toPlainText(), _original.document.toPlainText());

    // Saving what was loaded writes the same note again, byte for byte.
    ASSERT_TRUE(
        Rtfd::write(loaded, FilePath::fromString(notePath(QStringLiteral("Again.rtfd"))), &error));
    for (const QString& file : folderContents(notePath()))
        EXPECT_EQ(readFile(notePath(QStringLiteral("Again.rtfd/")) + file).toStdString(),
                  readFile(notePath() + u'/' + file).toStdString())
            << file.toStdString();
}

TEST_F(RtfRoundTrip, LoneRtfFileEmbedsTheImagesAndLoadsBackEveryFormat) {
    std::vector<Rtf::Attachment> attachments;
    const QByteArray rtf = Rtf::write(_original.document, Rtf::Images::Embedded, &attachments);
    EXPECT_TRUE(attachments.empty());
    EXPECT_TRUE(rtf.contains("\\jpegblip")) << "the photo keeps its format";

    QTextDocument loaded;
    QString error;
    ASSERT_TRUE(Rtf::read(rtf, &loaded, {}, &error)) << error.toStdString();
    EXPECT_EQ(describeDocument(loaded).toStdString(),
              describeDocument(_original.document).toStdString());
    EXPECT_EQ(Rtf::write(loaded, Rtf::Images::Embedded).toStdString(), rtf.toStdString());
}

TEST_F(RtfRoundTrip, SavingOverANoteReplacesTheWholeFolderAndLeavesNothingElse) {
    ASSERT_TRUE(Rtfd::write(_original.document, FilePath::fromString(notePath())));
    QTextDocument shorter(QStringLiteral("Only text now"));
    QString error;
    ASSERT_TRUE(Rtfd::write(shorter, FilePath::fromString(notePath()), &error))
        << error.toStdString();

    EXPECT_EQ(folderContents(notePath()), QStringList{QStringLiteral("TXT.rtf")})
        << "the images of the old note went with it";
    EXPECT_EQ(folderContents(_root.path()), QStringList{QStringLiteral("Interview.rtfd")})
        << "no folder of the save is left behind";
    QTextDocument loaded;
    ASSERT_TRUE(Rtfd::read(FilePath::fromString(notePath()), &loaded));
    EXPECT_EQ(loaded.toPlainText(), QStringLiteral("Only text now"));
}

TEST_F(RtfRoundTrip, NotesThatCannotBeWrittenOrReadAreRefusedWithAReasonAndChangeNothing) {
    QFile inTheWay(notePath(QStringLiteral("Plain.rtfd")));
    ASSERT_TRUE(inTheWay.open(QIODevice::WriteOnly));
    inTheWay.write("not a folder");
    inTheWay.close();
    ASSERT_TRUE(QDir(_root.path()).mkpath(QStringLiteral("Empty.rtfd")));
    ASSERT_TRUE(QDir(_root.path()).mkpath(QStringLiteral("Garbage.rtfd")));
    QFile garbage(notePath(QStringLiteral("Garbage.rtfd/TXT.rtf")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("\x00\x01 no rich text here");
    garbage.close();
    const QStringList before = folderContents(_root.path());

    QString error;
    EXPECT_FALSE(Rtfd::write(_original.document,
                             FilePath::fromString(notePath(QStringLiteral("Plain.rtfd"))), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(notePath(QStringLiteral("Plain.rtfd"))), QByteArray("not a folder"));
    error.clear();
    EXPECT_FALSE(Rtfd::write(_original.document,
                             FilePath::fromString(notePath(QStringLiteral("Missing/Note.rtfd"))),
                             &error));
    EXPECT_FALSE(error.isEmpty());

    for (const QString& unreadable :
         {QStringLiteral("Absent.rtfd"), QStringLiteral("Plain.rtfd"), QStringLiteral("Empty.rtfd"),
          QStringLiteral("Garbage.rtfd")}) {
        SCOPED_TRACE(unreadable.toStdString());
        QTextDocument document(QStringLiteral("shown before"));
        error.clear();
        EXPECT_FALSE(Rtfd::read(FilePath::fromString(notePath(unreadable)), &document, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(document.toPlainText(), QStringLiteral("shown before"));
    }
    EXPECT_EQ(folderContents(_root.path()), before);
}

TEST_F(RtfRoundTrip, AttachmentsAreOnlyReadFromInsideTheNoteFolder) {
    const QByteArray png = encoded(gradient(4, 4), "PNG");
    QFile outside(notePath(QStringLiteral("outside.png")));
    ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
    outside.write(png);
    outside.close();
    ASSERT_TRUE(QDir(_root.path()).mkpath(QStringLiteral("Note.rtfd")));
    ASSERT_TRUE(QFile::link(notePath(QStringLiteral("outside.png")),
                            notePath(QStringLiteral("Note.rtfd/link.png"))));
    QFile text(notePath(QStringLiteral("Note.rtfd/TXT.rtf")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("{\\rtf1 a{{\\NeXTGraphic ../outside.png \\width60 \\height60}\\uc0\\u65532 }"
               "b{{\\NeXTGraphic link.png}\\uc0\\u65532 }c}");
    text.close();

    QTextDocument loaded;
    ASSERT_TRUE(Rtfd::read(FilePath::fromString(notePath(QStringLiteral("Note.rtfd"))), &loaded));
    EXPECT_EQ(loaded.toPlainText(), QStringLiteral("abc"));
}

} // namespace
