// Reading and writing notes: times Rtf::read and Rtf::write on notes of 1 and 4 MB (our own
// RTF, and RTF in the style of other word processors: code-page escapes, \u with fallbacks,
// lists, fields), so that both the absolute cost and the growth with size show. Target: a
// 1 MB note loads in well under a second, and 4 MB takes about four times as long.
#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Our own note: paragraphs of mixed formatting and scripts, every tenth one a list item.
QByteArray ourNote(qsizetype bytes) {
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat bold, colour;
    bold.setFontWeight(QFont::Bold);
    colour.setForeground(QColor(200, 30, 30));
    colour.setFontFamilies({QStringLiteral("DejaVu Serif")});
    QTextList* list = nullptr;
    for (int i = 0; Rtf::write(document, Rtf::Images::Embedded).size() < bytes; ++i) {
        for (int j = 0; j < 200; ++j, ++i) {
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
            if (i % 10 == 0)
                list = list ? (list->add(cursor.block()), list)
                            : cursor.createList(QTextListFormat::ListDisc);
            cursor.insertText(QStringLiteral("Paragraph %1 with ").arg(i));
            cursor.insertText(QStringLiteral("bold words"), bold);
            cursor.insertText(QStringLiteral(", Ελληνικά και русский "), QTextCharFormat());
            cursor.insertText(QStringLiteral("in colour"), colour);
            cursor.insertText(QStringLiteral(" and 中文 text.\t🎙"), QTextCharFormat());
        }
    }
    return Rtf::write(document, Rtf::Images::Embedded);
}

// In the style of other writers: a code page, 8-bit escapes, \u with escaped fallbacks, style
// noise on every paragraph, and a field now and then.
QByteArray foreignNote(qsizetype bytes) {
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\froman\\fcharset204 Times;}"
                     "{\\f1\\fswiss\\fcharset161 Arial;}}{\\colortbl;\\red192\\green0\\blue0;}\n";
    for (int i = 0; rtf.size() < bytes; ++i) {
        rtf += "\\pard\\plain\\s0\\sl276\\slmult1\\sb0\\sa140\\ql\\ltrpar\\rtlch\\af1\\ltrch\\f0 ";
        rtf += "{\\loch Paragraph " + QByteArray::number(i) + " \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2 }";
        rtf += "{\\f1 \\'e1\\'e2\\'e3 }{\\b\\cf1 \\u20013\\'3f\\u25991\\'3f}";
        if (i % 20 == 0)
            rtf += "{\\field{\\*\\fldinst HYPERLINK \"https://example.org/\"}{\\fldrslt link}}";
        rtf += "\\par\n";
    }
    return rtf + "}";
}

double medianMilliseconds(const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void measure(const char* name, const QByteArray& rtf) {
    QTextDocument document;
    const double read = medianMilliseconds([&] { Rtf::read(rtf, &document); });
    const double write =
        medianMilliseconds([&] { (void)Rtf::write(document, Rtf::Images::Embedded); });
    std::printf("%-14s %6.2f MB  read %8.1f ms (%6.1f MB/s)  write %8.1f ms  %d paragraphs\n", name,
                rtf.size() / 1e6, read, rtf.size() / 1e3 / read, write, document.blockCount());
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    for (const qsizetype size : {qsizetype(1) << 20, qsizetype(4) << 20}) {
        measure("ours", ourNote(size));
        measure("other writers", foreignNote(size));
    }
    return 0;
}
