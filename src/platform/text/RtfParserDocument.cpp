// The half of the RTF parser that builds the QTextDocument: runs of text, paragraphs, lists
// and images.
#include "platform/text/RtfParser.h"

#include "platform/text/RtfShared.h"

#include <QBuffer>
#include <QImageReader>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace Rtf::detail {

void Parser::appendToDocument(char16_t unit) {
    if (_state.character.hidden)
        return;
    if (_state.swallowNext) {
        _state.swallowNext = false;
        return;
    }
    // Control characters, and object characters that no longer stand for an object, are not
    // text a reader could use.
    if ((unit < 0x20 && unit != u'\t') || unit == 0x7f ||
        unit == QChar::ObjectReplacementCharacter || unit == QChar::ParagraphSeparator ||
        unit == 0xfeff)
        return;
    if (!_run.isEmpty() && !(_runState == _state.character))
        flushRun();
    _runState = _state.character;
    _run += QChar(unit);
}

void Parser::flushRun() {
    if (_run.isEmpty())
        return;
    ensureBlock();
    _cursor.insertText(_run, charFormat(_runState));
    _run.clear();
}

void Parser::ensureBlock() {
    if (!_blockPending)
        return;
    _cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    _blockPending = false;
}

void Parser::paragraphBreak() {
    if (_state.character.hidden)
        return;
    flushRun();
    ensureBlock();
    finishParagraph();
    _blockPending = true;
}

QTextCharFormat Parser::charFormat(const CharacterState& state) const {
    QTextCharFormat format;
    if (state.font >= 0) {
        if (const QString name = _fonts.value(state.font).name; !name.isEmpty())
            format.setFontFamilies({name});
    }
    if (state.halfPoints > 0)
        format.setFontPointSize(state.halfPoints / 2.0);
    if (state.bold)
        format.setFontWeight(QFont::Bold);
    if (state.italic)
        format.setFontItalic(true);
    if (state.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(QTextCharFormat::UnderlineStyle(state.underline));
    if (state.strikeOut)
        format.setFontStrikeOut(true);
    if (state.verticalAlignment != QTextCharFormat::AlignNormal)
        format.setVerticalAlignment(QTextCharFormat::VerticalAlignment(state.verticalAlignment));
    if (state.foreground < _colours.size() && _colours[state.foreground].isValid())
        format.setForeground(_colours[state.foreground]);
    if (state.background > 0 && state.background < _colours.size() &&
        _colours[state.background].isValid())
        format.setBackground(_colours[state.background]);
    if (state.link >= 0 && state.link < _links.size()) {
        format.setAnchor(true);
        format.setAnchorHref(_links[state.link]);
    }
    return format;
}

// Paragraph properties are those in force when the paragraph ends.
void Parser::finishParagraph() {
    const ParagraphState& p = _state.paragraph;
    QTextBlockFormat format;
    switch (p.alignment) {
    case 0:
        format.setAlignment(Qt::AlignLeft);
        break;
    case 1:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case 2:
        format.setAlignment(Qt::AlignRight);
        break;
    case 3:
        format.setAlignment(Qt::AlignJustify);
        break;
    default:
        break;
    }
    if (p.rightToLeft)
        format.setLayoutDirection(Qt::RightToLeft);

    quint64 listKey = 0;
    QHash<quint64, QTextList*>* lists = nullptr;
    QTextListFormat newList;
    if (p.listOverride > 0) {
        listKey = quint64(uint(p.listOverride)) << 8 | uint(p.listLevel);
        lists = &_documentLists;
        newList = listFormat(p.listOverride, p.listLevel);
    } else if (p.oldListStyle != 0) {
        listKey = quint64(uint(-p.oldListStyle)) << 8 | uint(p.oldListLevel);
        lists = &_oldLists;
        newList.setStyle(QTextListFormat::Style(p.oldListStyle));
        newList.setIndent(std::max(1, p.oldListLevel));
    } else {
        _oldLists.clear(); // the old form numbers each run of paragraphs afresh
    }

    // A list places its items itself; the indents written with them are its own.
    if (!lists && (p.has & ParagraphState::HasLeft))
        format.setLeftMargin(p.left / kTwipsPerPixel);
    if (!lists && (p.has & ParagraphState::HasFirst))
        format.setTextIndent(p.first / kTwipsPerPixel);
    if (p.has & ParagraphState::HasRight)
        format.setRightMargin(p.right / kTwipsPerPixel);
    if (p.has & ParagraphState::HasBefore)
        format.setTopMargin(p.before / kTwipsPerPixel);
    if (p.has & ParagraphState::HasAfter)
        format.setBottomMargin(p.after / kTwipsPerPixel);
    if (p.lineMultiple && p.lineSpacing > 0)
        format.setLineHeight(p.lineSpacing / 2.4, QTextBlockFormat::ProportionalHeight);
    else if (p.lineSpacing < 0)
        format.setLineHeight(-p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::FixedHeight);
    else if (p.lineSpacing > 0)
        format.setLineHeight(p.lineSpacing / kTwipsPerPixel, QTextBlockFormat::MinimumHeight);
    _cursor.setBlockFormat(format);

    if (!lists)
        return;
    if (QTextList* list = lists->value(listKey)) {
        list->add(_cursor.block());
        return;
    }
    if (lists->size() < kMaxTableEntries)
        lists->insert(listKey, _cursor.createList(newList));
}

// The list format of level `level` of the list that \ls `override` names. The level's text
// is its length, then the text with a character below 9 standing for each level's number.
QTextListFormat Parser::listFormat(int override, int level) const {
    QTextListFormat format;
    format.setIndent(level + 1);
    const int id = _listOfOverride.value(override, -1);
    const int index = _listById.value(id, -1);
    if (index < 0 || size_t(index) >= _lists.size() ||
        size_t(level) >= _lists[index].levels.size()) {
        format.setStyle(QTextListFormat::ListDisc);
        return format;
    }
    const ListLevel& definition = _lists[index].levels[level];
    const QString& text = definition.text;
    const QString body = text.isEmpty() ? QString() : text.mid(1, text[0].unicode());
    const QTextListFormat::Style style =
        listStyle(definition.numberFormat, body.isEmpty() ? QChar() : body[0]);
    format.setStyle(style);
    if (levelNumberFormat(style) == 23)
        return format;
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i].unicode() < kListLevels) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0)
        return format;
    if (first > 0)
        format.setNumberPrefix(body.left(first));
    if (const QString suffix = body.mid(last + 1); suffix != QLatin1String("."))
        format.setNumberSuffix(suffix);
    return format;
}

QString Parser::addImage(const QByteArray& bytes, const QString& wantedName) {
    if (bytes.isEmpty())
        return {};
    if (_imageNames.size() >= kMaxPictures ||
        _pictureBytesTotal + bytes.size() > kMaxTotalPictureBytes) {
        ++_picturesLeftOut;
        return {};
    }
    // Only images whose header can be read; a cut-off picture would show as a broken one.
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    if (!QImageReader(&buffer).size().isValid())
        return {};
    _pictureBytesTotal += bytes.size();
    QString base = wantedName.section(u'/', -1);
    QString extension = imageExtension(bytes);
    if (const qsizetype dot = base.lastIndexOf(u'.'); dot > 0) {
        if (extension.isEmpty())
            extension = safeFileName(base.mid(dot + 1), {});
        base.truncate(dot);
    }
    QString name = uniqueFileName(base, extension, _imageNames, _nextImageNumber);
    // The bytes themselves are the resource: Qt decodes them to show the image, and a later
    // save writes the very same bytes.
    _document->addResource(QTextDocument::ImageResource, QUrl(name), bytes);
    return name;
}

void Parser::insertImage(const QString& name, double width, double height) {
    QTextImageFormat format;
    format.setName(name);
    if (width > 0)
        format.setWidth(width);
    if (height > 0)
        format.setHeight(height);
    flushRun();
    ensureBlock();
    _cursor.insertImage(format);
}

void Parser::finishPicture() {
    if (_picture.extension.isEmpty() || _picture.tooLarge)
        return;
    const double width = _picture.goalWidth * (_picture.scaleX / 100.0) / kTwipsPerPixel;
    const double height = _picture.goalHeight * (_picture.scaleY / 100.0) / kTwipsPerPixel;
    const QString name = addImage(_picture.bytes, QStringLiteral("image.") + _picture.extension);
    _picture = Picture();
    if (!name.isEmpty())
        insertImage(name, width, height);
}

void Parser::finishAttachment() {
    const QString fileName = _reference.fileName.trimmed();
    if (fileName.isEmpty() || !_attachment)
        return;
    // An attachment shown twice is one image.
    QString name = _imageOfAttachment.value(fileName);
    if (name.isEmpty() && _imageOfAttachment.size() < kMaxTableEntries) {
        name = addImage(_attachment(fileName), fileName);
        _imageOfAttachment.insert(fileName, name);
    }
    if (!name.isEmpty())
        insertImage(name, _reference.width / kTwipsPerPixel, _reference.height / kTwipsPerPixel);
}

} // namespace Rtf::detail
