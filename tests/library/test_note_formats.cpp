// Notes exported or read as Markdown: emphasis that any Markdown reader takes as emphasis.
#include "library/NoteFormats.h"
#include "platform/text/SelfContainedDocument.h"

#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {
// A document of runs: each a text and whether it is bold, italic or struck out.
struct TextRun {
    QString text;
    bool bold = false, italic = false, struck = false;
};
void fill(QTextDocument& document, const std::vector<TextRun>& runs) {
    QTextCursor cursor(&document);
    for (const TextRun& run : runs) {
        QTextCharFormat format;
        format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(run.italic);
        format.setFontStrikeOut(run.struck);
        cursor.insertText(run.text, format);
    }
}
} // namespace

TEST(NoteMarkdown, EmphasisHasNoBlankInsideItsMarkers) {
    const struct {
        std::vector<TextRun> runs;
        QString markdown;
    } notes[] = {
        {{{"Call "}, {"Anna ", true}, {"today"}}, "Call **Anna** today"},
        {{{"a"}, {" very", false, true}, {" good take"}}, "a *very* good take"},
        {{{"keep "}, {" this ", true}, {"."}}, "keep  **this** ."},
        {{{"gone ", false, false, true}, {"now"}}, "~~gone~~ now"},
        {{{"all bold", true}}, "**all bold**"},
    };
    for (const auto& note : notes) {
        QTextDocument document;
        fill(document, note.runs);
        const QString markdown = NoteFormats::toText(document, NoteFormats::Format::Markdown);
        EXPECT_EQ(markdown.trimmed(), note.markdown) << markdown.toStdString();
        // And it reads back as the same words with the same emphasis.
        SelfContainedDocument back;
        ASSERT_TRUE(NoteFormats::fromText(markdown, NoteFormats::Format::Markdown, &back, nullptr));
        EXPECT_EQ(back.toPlainText().simplified(), document.toPlainText().simplified());
    }
    // The note itself is left as it was.
    QTextDocument document;
    fill(document, {{"Call "}, {"Anna ", true}});
    NoteFormats::toText(document, NoteFormats::Format::Markdown);
    QTextCursor cursor(&document);
    cursor.setPosition(9);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
}
