#include "platform/text/RtfWriter.h"

#include "platform/text/RtfReader.h"
#include "platform/text/RtfShared.h"

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

#include <climits>
#include <cmath>

namespace Rtf {
namespace {

using namespace detail;

int twips(double pixels) {
    const double t = std::round(pixels * kTwipsPerPixel);
    return t > INT_MAX / 2 ? INT_MAX / 2 : (t < -INT_MAX / 2 ? -INT_MAX / 2 : int(t));
}

QString familyOf(const QTextCharFormat& format) {
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return format.property(QTextFormat::FontFamily).toString();
}

// Point size in half points (\fs), or 0 when the format leaves the size to the default.
int halfPoints(const QTextCharFormat& format) {
    double points = format.fontPointSize();
    if (points <= 0 && format.hasProperty(QTextFormat::FontPixelSize))
        points = format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    if (points <= 0)
        return 0;
    return int(std::lround(std::min(points, 3000.0) * 2));
}

const char* underlineWord(QTextCharFormat::UnderlineStyle style) {
    switch (style) {
    case QTextCharFormat::SingleUnderline:
        return "ul";
    case QTextCharFormat::DashUnderline:
        return "uldash";
    case QTextCharFormat::DotLine:
        return "uld";
    case QTextCharFormat::DashDotLine:
        return "uldashd";
    case QTextCharFormat::DashDotDotLine:
        return "uldashdd";
    case QTextCharFormat::WaveUnderline:
        return "ulwave";
    default:
        return nullptr; // none, or the spell checker's marks, which are not the text's
    }
}

// An image ready to be written: its bytes in a format named by `extension`.
struct ImageData {
    QByteArray bytes;
    QString extension;
};

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

class Writer {
public:
    Writer(const QTextDocument& document, Images images, std::vector<Attachment>* attachments)
        : _document(document), _images(images), _attachments(attachments) {}

    QByteArray run();
    int picturesLeftOut() const { return _picturesLeftOut; }

private:
    void collectTables();
    void writeHeader();
    void writeListTable();
    void writeBlock(const QTextBlock& block);
    void writeParagraphProperties(const QTextBlock& block);
    void writeFragment(const QTextFragment& fragment);
    void writeCharacterProperties(const QTextCharFormat& format);
    void writeImage(const QTextImageFormat& format);
    void writeText(QStringView text);

    void control(const char* word) {
        _out += '\\';
        _out += word;
        _delimit = true;
    }
    void control(const char* word, long long value) {
        control(word);
        _out += QByteArray::number(value);
    }
    // A control symbol (\' or \*) takes no delimiter: a space after one would be text.
    void symbol(const char* text) {
        _out += '\\';
        _out += text;
        _delimit = false;
    }
    void hexByte(int value) {
        _out += "\\'";
        _out += QByteArray::number(std::clamp(value, 0, 255), 16).rightJustified(2, '0');
        _delimit = false;
    }
    void raw(const char* bytes) {
        if (_delimit && *bytes != '\\' && *bytes != '{' && *bytes != '}')
            _out += ' ';
        _out += bytes;
        _delimit = false;
    }
    void open() { raw("{"); }
    void close() { raw("}"); }

    int fontIndex(const QString& family);
    int colourIndex(const QColor& colour);
    ImageData imageData(const QString& name) const;
    QString attachmentName(const QString& resourceName, const ImageData& image);

    const QTextDocument& _document;
    Images _images;
    std::vector<Attachment>* _attachments;
    QByteArray _out;
    bool _delimit = false;

    QStringList _fonts;
    QHash<QString, int> _fontIndex;
    QList<QColor> _colours; // table entry i + 1; entry 0 is the default colour
    QHash<QRgb, int> _colourIndex;
    QList<const QTextList*> _lists; // \ls i + 1
    QHash<const QTextList*, int> _listIndex;
    QHash<QString, QString> _attachmentOf;               // resource name -> attachment file name
    QSet<QString> _usedNames{QStringLiteral("txt.rtf")}; // lower case; the text's own file
    QHash<QString, int> _nextNumber;
    QSet<QString> _pictures; // resource names written (or referenced) so far
    int _picturesLeftOut = 0;
};

QByteArray Writer::run() {
    collectTables();
    writeHeader();
    for (QTextBlock block = _document.begin(); block.isValid(); block = block.next())
        writeBlock(block);
    close();
    _out += '\n';
    return _out;
}

int Writer::fontIndex(const QString& family) {
    auto found = _fontIndex.constFind(family);
    if (found != _fontIndex.constEnd())
        return *found;
    _fonts << family;
    _fontIndex.insert(family, int(_fonts.size() - 1));
    return int(_fonts.size() - 1);
}

int Writer::colourIndex(const QColor& colour) {
    const QRgb rgb = colour.rgb() | 0xff000000u; // RTF colours have no transparency
    auto found = _colourIndex.constFind(rgb);
    if (found != _colourIndex.constEnd())
        return *found;
    _colours << QColor::fromRgb(rgb);
    _colourIndex.insert(rgb, int(_colours.size()));
    return int(_colours.size());
}

// Fonts and colours are numbered in the order they are first used, the default font first.
void Writer::collectTables() {
    fontIndex(_document.defaultFont().family());
    for (QTextBlock block = _document.begin(); block.isValid(); block = block.next()) {
        if (const QTextList* list = block.textList(); list && !_listIndex.contains(list)) {
            _lists << list;
            _listIndex.insert(list, int(_lists.size()));
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (const QString family = familyOf(format); !family.isEmpty())
                fontIndex(family);
            if (format.hasProperty(QTextFormat::ForegroundBrush) &&
                format.foreground().style() != Qt::NoBrush)
                colourIndex(format.foreground().color());
            if (format.hasProperty(QTextFormat::BackgroundBrush) &&
                format.background().style() == Qt::SolidPattern)
                colourIndex(format.background().color());
        }
    }
}

void Writer::writeHeader() {
    open();
    control("rtf", 1);
    control("ansi");
    control("ansicpg", 1252);
    control("deff", 0);
    control("uc", 1);
    _out += '\n';
    open();
    control("fonttbl");
    for (int i = 0; i < _fonts.size(); ++i) {
        open();
        control("f", i);
        control("fnil");
        control("fcharset", 0);
        writeText(QString(_fonts[i]).remove(u';')); // a ';' would end the name early
        raw(";");
        close();
    }
    close();
    _out += '\n';
    open();
    control("colortbl");
    raw(";");
    for (const QColor& colour : std::as_const(_colours)) {
        control("red", colour.red());
        control("green", colour.green());
        control("blue", colour.blue());
        raw(";");
    }
    close();
    _out += '\n';
    if (!_lists.isEmpty())
        writeListTable();
}

void Writer::writeListTable() {
    open();
    symbol("*");
    control("listtable");
    for (int i = 0; i < _lists.size(); ++i) {
        const QTextListFormat format = _lists[i]->format();
        const int nfc = levelNumberFormat(format.style());
        _out += '\n';
        open();
        control("list");
        control("listtemplateid", i + 1);
        // Every level shows this list's style; a nested list is a list of its own in the
        // document, so only the level of its indent is used.
        for (int level = 0; level < kListLevels; ++level) {
            open();
            control("listlevel");
            control("levelnfc", nfc);
            control("levelnfcn", nfc);
            control("leveljc", 0);
            control("levelfollow", 0);
            control("levelstartat", 1);
            open();
            control("leveltext");
            if (nfc == 23) {
                hexByte(1);
                writeText(QString(bulletCharacter(format.style())));
            } else {
                const QString prefix = format.numberPrefix();
                // Qt shows a "." after the number unless the list says otherwise.
                const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix)
                                           ? format.numberSuffix()
                                           : QStringLiteral(".");
                const int length = int(std::min<qsizetype>(prefix.size() + suffix.size() + 1, 255));
                hexByte(length);
                writeText(prefix);
                hexByte(level);
                writeText(suffix);
            }
            raw(";");
            close();
            open();
            control("levelnumbers");
            if (nfc != 23) {
                const int position =
                    int(std::min<qsizetype>(format.numberPrefix().size() + 1, 255));
                hexByte(position);
            }
            raw(";");
            close();
            control("fi", kListHangTwips);
            control("li", kListIndentTwips * (level + 1));
            close();
        }
        control("listid", i + 1);
        close();
    }
    close();
    _out += '\n';
    open();
    symbol("*");
    control("listoverridetable");
    for (int i = 0; i < _lists.size(); ++i) {
        open();
        control("listoverride");
        control("listid", i + 1);
        control("listoverridecount", 0);
        control("ls", i + 1);
        close();
    }
    close();
    _out += '\n';
}

void Writer::writeBlock(const QTextBlock& block) {
    control("pard");
    writeParagraphProperties(block);
    for (auto it = block.begin(); !it.atEnd(); ++it)
        writeFragment(it.fragment());
    control("par");
    _out += '\n';
    _delimit = false;
}

void Writer::writeParagraphProperties(const QTextBlock& block) {
    const QTextBlockFormat format = block.blockFormat();
    if (format.hasProperty(QTextFormat::BlockAlignment)) {
        const Qt::Alignment horizontal = format.alignment() & Qt::AlignHorizontal_Mask;
        if (horizontal & Qt::AlignHCenter)
            control("qc");
        else if (horizontal & Qt::AlignJustify)
            control("qj");
        else if (horizontal & Qt::AlignRight)
            control("qr");
        else
            control("ql");
    }
    if (format.layoutDirection() == Qt::RightToLeft)
        control("rtlpar");
    if (format.hasProperty(QTextFormat::BlockRightMargin))
        control("ri", twips(format.rightMargin()));
    if (format.hasProperty(QTextFormat::BlockTopMargin))
        control("sb", twips(format.topMargin()));
    if (format.hasProperty(QTextFormat::BlockBottomMargin))
        control("sa", twips(format.bottomMargin()));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        control("sl", std::lround(std::clamp(format.lineHeight(), 1.0, 10000.0) * 2.4));
        control("slmult", 1);
        break;
    case QTextBlockFormat::FixedHeight:
        control("sl", -std::abs(twips(format.lineHeight())));
        control("slmult", 0);
        break;
    case QTextBlockFormat::MinimumHeight:
        control("sl", std::abs(twips(format.lineHeight())));
        control("slmult", 0);
        break;
    default:
        break;
    }

    const QTextList* list = block.textList();
    if (!list) {
        const double left = format.leftMargin() + format.indent() * _document.indentWidth();
        if (format.hasProperty(QTextFormat::BlockLeftMargin) ||
            format.hasProperty(QTextFormat::BlockIndent))
            control("li", twips(left));
        if (format.hasProperty(QTextFormat::TextIndent))
            control("fi", twips(format.textIndent()));
        return;
    }
    const QTextListFormat listFormat = list->format();
    const int level = std::clamp(listFormat.indent() - 1, 0, kListLevels - 1);
    control("fi", kListHangTwips);
    control("li", kListIndentTwips * (level + 1));
    control("ls", _listIndex.value(list));
    control("ilvl", level);
    // What readers that know no lists show in place of the bullet or number.
    open();
    control("pntext");
    const bool bulleted = levelNumberFormat(listFormat.style()) == 23;
    writeText(bulleted ? QString(bulletCharacter(listFormat.style())) : list->itemText(block));
    control("tab");
    close();
}

void Writer::writeFragment(const QTextFragment& fragment) {
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat()) {
        writeImage(format.toImageFormat());
        return;
    }
    const QString href = format.isAnchor() ? format.anchorHref() : QString();
    if (!href.isEmpty()) {
        open();
        control("field");
        open();
        symbol("*");
        control("fldinst");
        open();
        raw("HYPERLINK \"");
        // Within a field's quotes a backslash makes the next character literal.
        QString quoted = href;
        quoted.replace(u'\\', QLatin1String("\\\\")).replace(u'"', QLatin1String("\\\""));
        writeText(quoted);
        raw("\"");
        close();
        close();
        open();
        control("fldrslt");
    }
    open();
    writeCharacterProperties(format);
    writeText(fragment.text());
    close();
    if (!href.isEmpty()) {
        close();
        close();
    }
}

void Writer::writeCharacterProperties(const QTextCharFormat& format) {
    if (const QString family = familyOf(format); !family.isEmpty())
        control("f", fontIndex(family));
    if (const int size = halfPoints(format))
        control("fs", size);
    if (format.fontWeight() >= QFont::DemiBold)
        control("b");
    if (format.fontItalic())
        control("i");
    if (const char* underline = underlineWord(format.underlineStyle()))
        control(underline);
    if (format.fontStrikeOut())
        control("strike");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        control("super");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        control("sub");
    if (format.hasProperty(QTextFormat::ForegroundBrush) &&
        format.foreground().style() != Qt::NoBrush)
        control("cf", colourIndex(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) &&
        format.background().style() == Qt::SolidPattern) {
        const int colour = colourIndex(format.background().color());
        control("cb", colour);
        control("highlight", colour);
    }
}

ImageData Writer::imageData(const QString& name) const {
    const QVariant resource = _document.resource(QTextDocument::ImageResource, QUrl(name));
    QImage image;
    switch (resource.typeId()) {
    case QMetaType::QByteArray: {
        const QByteArray bytes = resource.toByteArray();
        if (const QString extension = imageExtension(bytes); !extension.isEmpty())
            return {bytes, extension};
        image = QImage::fromData(bytes);
        break;
    }
    case QMetaType::QImage:
        image = resource.value<QImage>();
        break;
    case QMetaType::QPixmap:
        image = resource.value<QPixmap>().toImage();
        break;
    default:
        break;
    }
    const QByteArray png = encodePng(image);
    if (png.isEmpty())
        return {};
    return {png, QStringLiteral("png")};
}

QString Writer::attachmentName(const QString& resourceName, const ImageData& image) {
    if (auto found = _attachmentOf.constFind(resourceName); found != _attachmentOf.constEnd())
        return *found;
    QString base = QUrl(resourceName).fileName();
    if (base.isEmpty())
        base = resourceName.section(u'/', -1);
    if (const qsizetype dot = base.lastIndexOf(u'.'); dot > 0)
        base.truncate(dot);
    const QString name = uniqueFileName(base, image.extension, _usedNames, _nextNumber);
    _attachmentOf.insert(resourceName, name);
    if (_attachments)
        _attachments->push_back({name, image.bytes});
    return name;
}

void Writer::writeImage(const QTextImageFormat& format) {
    // A picture shown twice counts once; past the cap, pictures are left out (and counted).
    if (!_pictures.contains(format.name())) {
        if (_pictures.size() >= kMaxPictures) {
            ++_picturesLeftOut;
            return;
        }
        _pictures.insert(format.name());
    }
    ImageData image = imageData(format.name());
    if (image.bytes.isEmpty())
        return; // nothing to show now, nothing to keep
    const bool hasWidth = format.hasProperty(QTextFormat::ImageWidth);
    const bool hasHeight = format.hasProperty(QTextFormat::ImageHeight);

    if (_images == Images::Attachments) {
        const QString file = attachmentName(format.name(), image);
        open();
        open();
        control("NeXTGraphic");
        raw(file.toLatin1().constData());
        raw(" ");
        if (hasWidth)
            control("width", twips(format.width()));
        if (hasHeight)
            control("height", twips(format.height()));
        close();
        control("uc", 0);
        control("u", 0xfffc - 0x10000);
        close();
        return;
    }

    // Embedded pictures are PNG or JPEG, the two formats every reader of \pict knows.
    if (image.extension != QLatin1String("png") && image.extension != QLatin1String("jpg")) {
        image.bytes = encodePng(QImage::fromData(image.bytes));
        image.extension = QStringLiteral("png");
        if (image.bytes.isEmpty())
            return;
    }
    QBuffer buffer(&image.bytes);
    buffer.open(QIODevice::ReadOnly);
    const QSize natural = QImageReader(&buffer).size();
    open();
    control("pict");
    control(image.extension == QLatin1String("png") ? "pngblip" : "jpegblip");
    if (natural.isValid()) {
        control("picw", natural.width());
        control("pich", natural.height());
    }
    if (hasWidth)
        control("picwgoal", twips(format.width()));
    if (hasHeight)
        control("pichgoal", twips(format.height()));
    _out += '\n';
    const QByteArray hex = image.bytes.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 128) {
        _out += hex.mid(at, 128);
        _out += '\n';
    }
    _delimit = false;
    close();
}

void Writer::writeText(QStringView text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            const char escaped[3] = {'\\', char(u), 0};
            raw(escaped);
        } else if (u == u'\t') {
            control("tab");
        } else if (u == QChar::LineSeparator) {
            control("line");
        } else if (u < 0x20 || u == 0x7f || u == QChar::ObjectReplacementCharacter ||
                   u == QChar::ParagraphSeparator) {
            continue; // not text of the paragraph
        } else if (u < 0x80) {
            const char plain[2] = {char(u), 0};
            raw(plain);
        } else {
            // RTF numbers are signed 16-bit; a surrogate pair is written as its two halves.
            // The fallback for readers without Unicode is the Windows-1252 byte where Latin-1
            // has the character, else "?", escaped: some readers lose text after a bare "?".
            control("u", u > 0x7fff ? int(u) - 0x10000 : int(u));
            hexByte(u >= 0xa0 && u <= 0xff ? int(u) : '?');
        }
    }
}

} // namespace

QByteArray write(const QTextDocument& document, Images images, std::vector<Attachment>* attachments,
                 int* picturesLeftOut) {
    if (attachments)
        attachments->clear();
    Writer writer(document, images, attachments);
    QByteArray rtf = writer.run();
    if (picturesLeftOut)
        *picturesLeftOut = writer.picturesLeftOut();
    return rtf;
}

} // namespace Rtf
