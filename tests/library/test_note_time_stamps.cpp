// Time stamps in notes: their text and link, and what each format a note travels in keeps.
#include "library/NoteFormats.h"
#include "library/NoteTimeStamps.h"
#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {
// The link of the character at `position`.
QString hrefAt(const QTextDocument& document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(position + 1);
    return cursor.charFormat().isAnchor() ? cursor.charFormat().anchorHref() : QString();
}
} // namespace

TEST(NoteTimeStampsTest, LabelsAndLinksNameThePlace) {
    const struct {
        double seconds;
        const char* label;
    } labels[] = {{0, "[00:00:00]"},           {59.999, "[00:00:59]"},  {751.25, "[00:12:31]"},
                  {3600, "[01:00:00]"},        {360000, "[100:00:00]"}, {-3, "[00:00:00]"},
                  {std::nan(""), "[00:00:00]"}};
    for (const auto& c : labels)
        EXPECT_EQ(NoteTimeStamps::label(c.seconds), QLatin1String(c.label)) << c.seconds;

    EXPECT_EQ(NoteTimeStamps::linkFor(751.25), "brevoir-time:751.250");
    const struct {
        const char* href;
        std::optional<double> seconds;
    } links[] = {{"brevoir-time:751.250", 751.25},    {"brevoir-time:0", 0.0},
                 {"brevoir-time:-1", std::nullopt},   {"brevoir-time:nan", std::nullopt},
                 {"brevoir-time:inf", std::nullopt},  {"brevoir-time:", std::nullopt},
                 {"brevoir-time:1e12", std::nullopt}, {"https://example.org/", std::nullopt},
                 {"BREVOIR-TIME:3", std::nullopt}};
    for (const auto& c : links)
        EXPECT_EQ(NoteTimeStamps::secondsOf(QLatin1String(c.href)), c.seconds) << c.href;
}

TEST(NoteTimeStampsTest, RtfKeepsTheLinkAndOtherFormatsTheText) {
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("Intro");
    NoteTimeStamps::appendLine(document, 751.25, "question 3");
    NoteTimeStamps::appendLine(document, 5, QString());
    ASSERT_EQ(document.blockCount(), 3);
    EXPECT_EQ(document.toPlainText(), "Intro\n[00:12:31] question 3\n[00:00:05] ");
    const int stamp = document.findBlockByNumber(1).position();
    EXPECT_EQ(hrefAt(document, stamp), "brevoir-time:751.250");
    // Typing after the stamp is text again, not more of the link.
    EXPECT_EQ(hrefAt(document, stamp + 12), QString());

    // RTF: a HYPERLINK field, whose result other readers show as the text.
    const QByteArray rtf = Rtf::write(document, Rtf::Images::Embedded);
    EXPECT_TRUE(rtf.contains("HYPERLINK \"brevoir-time:751.250\"")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("[00:12:31]"));
    QTextDocument back;
    QString error;
    ASSERT_TRUE(Rtf::read(rtf, &back, {}, &error)) << error.toStdString();
    EXPECT_EQ(back.toPlainText(), document.toPlainText());
    EXPECT_EQ(hrefAt(back, back.findBlockByNumber(1).position()), "brevoir-time:751.250");

    // The others: the text alone, and the document itself keeps its links.
    using NoteFormats::Format;
    for (const Format format : {Format::Html, Format::Markdown, Format::Plain}) {
        const QString text = NoteFormats::toText(document, format);
        EXPECT_TRUE(text.contains("[00:12:31]")) << text.toStdString();
        EXPECT_FALSE(text.contains("brevoir-time")) << text.toStdString();
    }
    EXPECT_EQ(hrefAt(document, stamp), "brevoir-time:751.250");
}
