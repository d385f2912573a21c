#include "library/NoteFormats.h"

#include "library/NoteTimeStamps.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/text/RtfReader.h"
#include "platform/text/RtfWriter.h"
#include "platform/text/RtfdFolder.h"

#include "platform/foundation/SafeFile.h"
#include "platform/text/SelfContainedDocument.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QUrl>

#include <memory>
#include <vector>

namespace {
bool isEmphasised(const QTextCharFormat& format) {
    return format.fontWeight() > QFont::Normal || format.fontItalic() || format.fontStrikeOut();
}

// Markdown as CommonMark reads it. Qt writes the markers around a run exactly, so a bold run
// that ends in a blank ("**bold **") is not emphasis at all to a reader; the blanks at either
// end of an emphasised run are taken out of it first.
QString markdownOf(const QTextDocument& document) {
    std::unique_ptr<QTextDocument> copy(document.clone());
    QTextCharFormat plain;
    plain.setFontWeight(QFont::Normal);
    plain.setFontItalic(false);
    plain.setFontStrikeOut(false);
    for (QTextBlock block = copy->begin(); block.isValid(); block = block.next()) {
        std::vector<std::pair<int, int>> blanks; // position, length
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !isEmphasised(fragment.charFormat()))
                continue;
            const QString text = fragment.text();
            int lead = 0;
            while (lead < text.size() && text.at(lead).isSpace())
                ++lead;
            int trail = 0;
            while (trail < text.size() - lead && text.at(text.size() - 1 - trail).isSpace())
                ++trail;
            if (lead > 0)
                blanks.emplace_back(fragment.position(), lead);
            if (trail > 0)
                blanks.emplace_back(fragment.position() + int(text.size()) - trail, trail);
        }
        for (const auto& [position, length] : blanks) {
            QTextCursor cursor(copy.get());
            cursor.setPosition(position);
            cursor.setPosition(position + length, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(plain);
        }
    }
    return copy->toMarkdown();
}

bool saveBytes(const FilePath& path, const QByteArray& bytes, QString* error) {
    SafeFile::Problem problem;
    if (SafeFile::replace(path, bytes, &problem))
        return true;
    if (error)
        *error = problem.reason;
    return false;
}

// Pictures HTML or Markdown names by a path or link are left out: only what the text itself
// holds (data: URLs) goes into a note.
void dropOutsidePictures(SelfContainedDocument* document) {
    std::vector<int> positions;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            if (!format.isImageFormat() ||
                !SelfContainedDocument::decodeDataUrl(QUrl(format.toImageFormat().name()))
                     .isEmpty())
                continue;
            for (int i = fragment.length() - 1; i >= 0; --i)
                positions.push_back(fragment.position() + i);
        }
    }
    QTextCursor cursor(document);
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        cursor.setPosition(*it);
        cursor.deleteChar();
    }
}
} // namespace

std::optional<NoteFormats::Format> NoteFormats::formatNamed(const QString& name) {
    const QString key = name.trimmed().toLower();
    if (key == QLatin1String("plain") || key == QLatin1String("text"))
        return Format::Plain;
    if (key == QLatin1String("markdown"))
        return Format::Markdown;
    if (key == QLatin1String("html"))
        return Format::Html;
    if (key == QLatin1String("rtf"))
        return Format::Rtf;
    return std::nullopt;
}

QString NoteFormats::scriptName(Format format) {
    switch (format) {
    case Format::Rtf:
        return QStringLiteral("rtf");
    case Format::Markdown:
        return QStringLiteral("markdown");
    case Format::Html:
        return QStringLiteral("html");
    default:
        return QStringLiteral("plain");
    }
}

NoteFormats::Format NoteFormats::formatOfFileName(const QString& fileName) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("rtf"))
        return Format::Rtf;
    if (suffix == QLatin1String("md") || suffix == QLatin1String("markdown"))
        return Format::Markdown;
    if (suffix == QLatin1String("html") || suffix == QLatin1String("htm"))
        return Format::Html;
    if (suffix == QLatin1String("rtfd"))
        return Format::Rtfd;
    if (suffix == QLatin1String("odt"))
        return Format::OpenDocument;
    return Format::Plain;
}

const std::vector<NoteFormats::ExportType>& NoteFormats::exportTypes() {
    // What word processors open comes first; our own folder format is for going back to us.
    static const std::vector<ExportType> types = {
        {Format::OpenDocument, BVLocalizedString("FormatOdt"), QStringLiteral("odt")},
        {Format::Rtf, BVLocalizedString("FormatRtf"), QStringLiteral("rtf")},
        {Format::Rtfd, BVLocalizedString("FormatRtfd"), QStringLiteral("rtfd")},
        {Format::Html, BVLocalizedString("FormatHtml"), QStringLiteral("html")},
        {Format::Markdown, BVLocalizedString("FormatMarkdown"), QStringLiteral("md")},
        {Format::Plain, BVLocalizedString("FormatPlain"), QStringLiteral("txt")},
    };
    return types;
}

const NoteFormats::ExportType& NoteFormats::exportTypeForFilter(const QString& nameFilter) {
    const ExportType* rtfd = nullptr;
    for (const ExportType& type : exportTypes()) {
        if (type.nameFilter == nameFilter)
            return type;
        if (type.format == Format::Rtfd)
            rtfd = &type;
    }
    return *rtfd;
}

bool NoteFormats::writeFile(const QTextDocument& document, const FilePath& path, Format format,
                            QString* error) {
    switch (format) {
    case Format::Rtfd:
        return Rtfd::write(document, path, error);
    case Format::OpenDocument: {
        // Built in memory: the zip writer closes its device, which a QSaveFile forbids.
        QByteArray bytes;
        QBuffer buffer(&bytes);
        QTextDocumentWriter writer(&buffer, "odf");
        if (writer.write(NoteTimeStamps::withoutLinks(document).get()))
            return saveBytes(path, bytes, error);
        if (error)
            *error = BVLocalizedString("OdtNotMade");
        return false;
    }
    case Format::Rtf:
        return saveBytes(path, Rtf::write(document, Rtf::Images::Embedded), error);
    case Format::Html:
    case Format::Markdown:
    case Format::Plain:
        return saveBytes(path, toText(document, format).toUtf8(), error);
    }
    return false;
}

QString NoteFormats::toText(const QTextDocument& document, Format format) {
    switch (format) {
    case Format::Rtf:
    case Format::Rtfd:
        return QString::fromLatin1(Rtf::write(document, Rtf::Images::Embedded));
    // Time stamps' links are ours alone: other readers get their text.
    case Format::Html:
        return NoteTimeStamps::withoutLinks(document)->toHtml();
    case Format::Markdown:
        return markdownOf(*NoteTimeStamps::withoutLinks(document));
    case Format::OpenDocument:
    case Format::Plain:
        return document.toPlainText();
    }
    return QString();
}

bool NoteFormats::fromText(const QString& text, Format format, SelfContainedDocument* document,
                           QString* error) {
    switch (format) {
    case Format::Rtf:
    case Format::Rtfd: {
        // Bytes that came as characters go back one for one; text typed by a script as
        // Unicode goes as UTF-8.
        bool latin1 = true;
        for (const QChar c : text)
            latin1 = latin1 && c.unicode() < 0x100;
        return Rtf::read(latin1 ? text.toLatin1() : text.toUtf8(), document, {}, error);
    }
    case Format::Html:
        document->setHtml(text);
        dropOutsidePictures(document);
        return true;
    case Format::Markdown:
        document->setMarkdown(text);
        dropOutsidePictures(document);
        return true;
    case Format::OpenDocument:
    case Format::Plain:
        document->setPlainText(text);
        return true;
    }
    return false;
}
