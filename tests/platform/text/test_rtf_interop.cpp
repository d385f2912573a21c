#include "DocumentDescription.h"
#include "support/TestEnvironment.h"

#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"
#include "platform/text/RtfdFolder.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

QByteArray fixture(const QString& name) {
    QFile file(QStringLiteral(BREVOIR_TEXT_FIXTURES "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The format of the run that holds exactly `text`.
QTextCharFormat formatOf(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == text)
                return it.fragment().charFormat();
        }
    }
    ADD_FAILURE() << "no run holds " << text.toStdString();
    return {};
}

QStringList blocks(const QTextDocument& document) {
    return document.toPlainText().split(u'\n');
}

TEST(RtfFromOtherWriters, LibreOfficeNoteLoadsWithItsFormatting) {
    const QByteArray rtf = fixture(QStringLiteral("libreoffice-note.rtf"));
    ASSERT_FALSE(rtf.isEmpty());
    QTextDocument document;
    QString error;
    ASSERT_TRUE(Rtf::read(rtf, &document, {}, &error)) << error.toStdString();

    const QStringList text = blocks(document);
    ASSERT_EQ(text.size(), 7) << document.toPlainText().toStdString();
    EXPECT_EQ(text[0], QStringLiteral("Plain, bold, italic, underlined and red words."));
    EXPECT_EQ(text[1], QStringLiteral("Ελληνικά: καλημέρα. Русский: доброе утро. "
                                      "中文：你好世界。日本語：こんにちは。"));
    EXPECT_EQ(text[6], QStringLiteral("Centred, with “quotes” — and a euro sign €."));

    EXPECT_EQ(formatOf(document, QStringLiteral("bold")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(document, QStringLiteral("italic")).fontItalic());
    EXPECT_EQ(formatOf(document, QStringLiteral("underlined")).underlineStyle(),
              QTextCharFormat::SingleUnderline);
    EXPECT_EQ(formatOf(document, QStringLiteral("red")).foreground().color(), QColor(0xc0, 0, 0));
    const QTextCharFormat plain = formatOf(document, QStringLiteral("Plain, "));
    EXPECT_EQ(plain.fontWeight(), QFont::Normal);
    EXPECT_FALSE(plain.fontItalic());

    const QTextBlock first = document.findBlockByNumber(2);
    const QTextBlock firstNumber = document.findBlockByNumber(4);
    ASSERT_TRUE(first.textList() && firstNumber.textList());
    EXPECT_EQ(first.textList(), document.findBlockByNumber(3).textList());
    EXPECT_EQ(first.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(firstNumber.textList(), document.findBlockByNumber(5).textList());
    EXPECT_EQ(firstNumber.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(firstNumber.textList()->itemText(document.findBlockByNumber(5)),
              QStringLiteral("2."));
    EXPECT_EQ(document.findBlockByNumber(6).blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
}

// What writers other than ours commonly emit, each read into plain text and one detail.
TEST(RtfFromOtherWriters, CommonConstructsLoad) {
    const QByteArray png =
        QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAAD0lEQVR4nGP4z8DAwMA"
                               "AAA0BAf/mVkR2AAAAAElFTkSuQmCC");
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
        std::function<void(const QTextDocument&)> check;
    };
    const std::vector<Case> cases = {
        {"Windows-1251 by \\ansicpg",
         "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}",
         QStringLiteral("Привет"),
         {}},
        {"Windows-1253 by the font's charset",
         "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset161 Arial Greek;}}"
         "\\f0 a {\\f1 \\'e1\\'e2\\'e3} b}",
         QStringLiteral("a αβγ b"),
         {}},
        {"Windows-1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9ale\\'9a}", QStringLiteral("šleš"), {}},
        {"Mac Roman", "{\\rtf1\\mac \\'8e\\'d2x\\'d3}", QStringLiteral("é“x”"), {}},
        {"IBM 437", "{\\rtf1\\pc \\'82\\'e1}", QStringLiteral("éß"), {}},
        {"Shift JIS, trail bytes in ASCII",
         "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'83A}",
         QStringLiteral("あア"),
         {}},
        {"\\u with \\uc fallbacks",
         "{\\rtf1 \\uc2\\u1044\\'3f\\'3fa{\\uc0\\u1046 b}\\uc1\\u1047?c\\u-10179?\\u-8694?}",
         QStringLiteral("ДaЖbЗc") + QString::fromUtf8("\xf0\x9f\x98\x8a"),
         {}},
        {"lone surrogates become replacement characters",
         "{\\rtf1 a\\u-10179?b\\u-8694?c}",
         QStringLiteral("a\ufffdb\ufffdc"),
         {}},
        {"symbols and escapes",
         "{\\rtf1 a\\~b\\emdash c\\endash d\\lquote e\\rquote\\bullet\\{\\}\\\\}",
         QStringLiteral("a\u00a0b—c–d‘e’•{}\\"),
         {}},
        {"destinations skipped, unknown words ignored",
         "{\\rtf1{\\*\\generator Writer 1.0;}{\\info{\\title T}}{\\*\\unknown hidden}"
         "\\madeupword12 {\\header head}text{\\*\\bkmkstart x}!}",
         QStringLiteral("text!"),
         {}},
        {"styles reset by \\plain and \\pard",
         "{\\rtf1\\b\\i\\ul bold\\plain  plain\\par\\qc centred\\par\\pard left}",
         QStringLiteral("bold plain\ncentred\nleft"),
         [](const QTextDocument& d) {
             EXPECT_TRUE(formatOf(d, QStringLiteral("bold")).fontItalic());
             EXPECT_FALSE(formatOf(d, QStringLiteral(" plain")).fontItalic());
             EXPECT_EQ(d.findBlockByNumber(1).blockFormat().alignment(), Qt::AlignHCenter);
             EXPECT_FALSE(
                 d.findBlockByNumber(2).blockFormat().hasProperty(QTextFormat::BlockAlignment));
         }},
        {"the old \\pn lists",
         "{\\rtf1{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}one\\par"
         "{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pndec{\\pntxta .}}two\\par\\pard"
         "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}dot\\par}",
         QStringLiteral("one\ntwo\ndot"),
         [](const QTextDocument& d) {
             const QTextList* numbers = d.findBlockByNumber(0).textList();
             ASSERT_TRUE(numbers);
             EXPECT_EQ(numbers, d.findBlockByNumber(1).textList());
             EXPECT_EQ(numbers->format().style(), QTextListFormat::ListDecimal);
             ASSERT_TRUE(d.findBlockByNumber(2).textList());
             EXPECT_EQ(d.findBlockByNumber(2).textList()->format().style(),
                       QTextListFormat::ListDisc);
         }},
        {"an embedded PNG as LibreOffice and Word write it",
         "{\\rtf1 a{\\*\\shppict{\\pict{\\*\\picprop x}\\picscalex50\\picscaley100\\piccropl0"
         "\\picw2\\pich1\\picwgoal600\\pichgoal300\\pngblip\n" +
             png.toHex() + "}}{\\nonshppict{\\pict\\wmetafile8 0102}}b}",
         QStringLiteral("a\ufffcb"),
         [png](const QTextDocument& d) {
             const QTextImageFormat image = formatOf(d, QStringLiteral("\ufffc")).toImageFormat();
             EXPECT_EQ(image.width(), 20);
             EXPECT_EQ(image.height(), 20);
             EXPECT_EQ(d.resource(QTextDocument::ImageResource, QUrl(image.name())).toByteArray(),
                       png);
         }},
        {"a hyperlink field",
         "{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/\" \\\\o \"tip\"}}"
         "{\\fldrslt{\\ul example}}} now}",
         QStringLiteral("see example now"),
         [](const QTextDocument& d) {
             EXPECT_EQ(formatOf(d, QStringLiteral("example")).anchorHref(),
                       QStringLiteral("https://example.org/"));
             EXPECT_FALSE(formatOf(d, QStringLiteral(" now")).isAnchor());
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        QString error;
        ASSERT_TRUE(Rtf::read(c.rtf, &document, {}, &error)) << error.toStdString();
        // The raw text keeps non-breaking spaces, which toPlainText() turns into spaces.
        const QString text = document.toRawText().replace(QChar(QChar::ParagraphSeparator), u'\n');
        EXPECT_EQ(text.toStdString(), c.text.toStdString());
        if (c.check)
            c.check(document);
    }
}

// Decodes the numeric character references that unrtf writes for everything beyond ASCII.
QString decodeReferences(const QString& text) {
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    QString decoded;
    qsizetype at = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        decoded += text.mid(at, match.capturedStart() - at);
        decoded += QChar(char16_t(match.captured(1).toUInt()));
        at = match.capturedEnd();
    }
    return decoded + text.mid(at);
}

QString collapsed(QString text) {
    return text.replace(QChar(QChar::LineSeparator), u' ').simplified();
}

TEST(RtfForOtherReaders, UnrtfReadsTheNotesTextWithItsBulletsAndNumbers) {
    const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
    QFile textTags(QStringLiteral("/usr/share/unrtf/text.conf"));
    REQUIRE_OR_SKIP_OUTSIDE_RIG(!unrtf.isEmpty() && textTags.open(QIODevice::ReadOnly),
                                "unrtf (scripts/setup.sh installs it)");

    QTextDocument note;
    QTextCursor cursor(&note);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Meeting with "));
    cursor.insertText(QStringLiteral("Ελένη"), bold);
    cursor.insertText(QStringLiteral(" and Дмитрий: 会议 🎙 notes\tand a tab"));
    cursor.insertBlock();
    cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("first point {in braces}"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("second point \\ with a backslash"));
    cursor.insertBlock();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("numbered"));
    cursor.insertBlock();
    cursor.setBlockFormat(QTextBlockFormat());
    cursor.insertText(QStringLiteral("Last line"));

    QTemporaryDir dir;
    ASSERT_TRUE(
        Rtfd::write(note, FilePath::fromString(dir.filePath(QStringLiteral("Meeting.rtfd")))));
    // unrtf's plain-text tags, told to write characters beyond ASCII as references.
    QFile tags(dir.filePath(QStringLiteral("plain.conf")));
    ASSERT_TRUE(tags.open(QIODevice::WriteOnly));
    tags.write(textTags.readAll() + "\nunisymbol_print\n\t&#%;\n");
    tags.close();

    QProcess process;
    process.start(unrtf,
                  {QStringLiteral("-P"), dir.path(), QStringLiteral("-t"), QStringLiteral("plain"),
                   dir.filePath(QStringLiteral("Meeting.rtfd/TXT.rtf"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    const QString body = output.section(QStringLiteral("-----------------\n"), 1);

    const QString expected = QStringLiteral(
        "Meeting with Ελένη and Дмитрий: 会议 🎙 notes and a tab • first point "
        "{in braces} "
        "• second point \\ with a backslash 1. numbered Last line");
    EXPECT_EQ(collapsed(decodeReferences(body)).toStdString(), expected.toStdString());
    EXPECT_EQ(collapsed(note.toPlainText()).remove(u'•'),
              collapsed(QString(expected).remove(u'•').remove(QStringLiteral("1. "))));
}

} // namespace
