#include "platform/text/RtfParser.h"

#include "platform/text/RtfShared.h"

#include <QTextDocument>

namespace Rtf::detail {

using W = ControlWord;

Parser::Parser(QTextDocument* document, const AttachmentResolver& attachment)
    : _document(document), _attachment(attachment) {}

void Parser::read(QByteArrayView rtf) {
    const bool undo = _document->isUndoRedoEnabled();
    _document->setUndoRedoEnabled(false);
    _document->clear();
    _cursor = QTextCursor(_document);
    _saved.reserve(64);

    Tokenizer tokens(rtf);
    for (Token token = tokens.next(); token.kind != Token::End; token = tokens.next()) {
        if (token.kind != Token::Text && token.kind != Token::Hex)
            flushBytes();
        switch (token.kind) {
        case Token::OpenGroup:
            openGroup();
            break;
        case Token::CloseGroup:
            closeGroup();
            break;
        case Token::Word:
            controlWord(token);
            break;
        case Token::Symbol:
            controlSymbol(token.symbol);
            break;
        case Token::Hex:
            if (_skip > 0)
                --_skip;
            else if (_state.destination != Destination::Skip)
                pushByte(token.symbol);
            break;
        case Token::Text:
            textBytes(token.word);
            break;
        case Token::Binary:
            binary(token.word);
            break;
        case Token::End:
            break;
        }
        if (token.kind != Token::Symbol)
            _starred = false;
    }
    flushBytes();
    // Groups left open by a truncated file end here, so that what they hold is kept.
    while (!_saved.empty())
        closeGroup();
    flushRun();
    if (!_blockPending)
        finishParagraph();
    _document->setUndoRedoEnabled(undo);
}

void Parser::openGroup() {
    _skip = 0;
    _starred = false;
    if (_excessDepth > 0 || _saved.size() >= size_t(kMaxDepth)) {
        ++_excessDepth;
        return;
    }
    _saved.push_back(_state);
}

void Parser::closeGroup() {
    _skip = 0;
    if (_highSurrogate) {
        _highSurrogate = 0;
        deliver(0xfffd);
    }
    if (_excessDepth > 0) {
        --_excessDepth;
        return;
    }
    if (_saved.empty())
        return; // more closing braces than opening ones
    const GroupState closed = _state;
    _state = _saved.back();
    _saved.pop_back();
    if (closed.destination != _state.destination)
        endDestination(closed);
}

void Parser::endDestination(const GroupState& closed) {
    switch (closed.destination) {
    case Destination::FontTable:
        commitFont();
        break;
    case Destination::Picture:
        if (_state.destination == Destination::Text && !_state.character.hidden)
            finishPicture();
        break;
    case Destination::Attachment:
        if (_state.destination == Destination::Text && !_state.character.hidden)
            finishAttachment();
        _state.swallowNext = true;
        break;
    case Destination::OldList:
        if (_oldList.style == QTextListFormat::ListDisc && !_oldList.before.isEmpty())
            _oldList.style = listStyle(23, _oldList.before[0]);
        if (_oldList.style != 0) {
            _state.paragraph.oldListStyle = _oldList.style;
            _state.paragraph.oldListLevel = _oldList.level;
        }
        break;
    default:
        break;
    }
}

// Destination words start a group's destination; answers whether the word was one.
bool Parser::destinationWord(W w) {
    Destination& destination = _state.destination;
    const Destination outer = destination;
    switch (w) {
    case W::FontTable:
        destination = Destination::FontTable;
        return true;
    case W::ColourTable:
        destination = Destination::ColourTable;
        _colourGiven = false;
        _red = _green = _blue = 0;
        return true;
    case W::ListTable:
        destination = Destination::ListTable;
        return true;
    case W::List:
        if (outer != Destination::ListTable)
            return false;
        destination = Destination::List;
        if (_lists.size() < size_t(kMaxTableEntries))
            _lists.emplace_back();
        return true;
    case W::ListLevel:
        if (outer != Destination::List || _lists.empty())
            return false;
        destination = Destination::ListLevel;
        if (_lists.back().levels.size() < size_t(kListLevels + 1))
            _lists.back().levels.emplace_back();
        return true;
    case W::LevelText:
        if (outer != Destination::ListLevel)
            return false;
        destination = Destination::LevelText;
        return true;
    case W::ListOverrideTable:
        destination = Destination::ListOverrideTable;
        return true;
    case W::ListOverride:
        if (outer != Destination::ListOverrideTable)
            return false;
        destination = Destination::ListOverride;
        _overrideListId = 0;
        return true;
    case W::Pict:
        destination = Destination::Picture;
        _picture = Picture();
        return true;
    case W::NeXTGraphic:
        destination = Destination::Attachment;
        _reference = AttachmentReference();
        return true;
    case W::Field:
        if (outer != Destination::Text)
            return false;
        if (_fieldInstructions.size() < kMaxTableEntries) {
            _fieldInstructions << QString();
            _state.field = int(_fieldInstructions.size() - 1);
        } else {
            _state.field = -1;
        }
        return true;
    case W::FieldInstruction:
        destination = _state.field >= 0 ? Destination::FieldInstruction : Destination::Skip;
        return true;
    case W::FieldResult:
        if (_state.field >= 0 && _links.size() < kMaxTableEntries) {
            const QString href = hyperlink(_fieldInstructions[_state.field]);
            if (!href.isEmpty()) {
                _links << href;
                _state.character.link = int(_links.size() - 1);
            }
        }
        return true;
    case W::OldList:
        destination = Destination::OldList;
        _oldList = OldList();
        return true;
    case W::OldListAfter:
    case W::OldListBefore:
        if (outer != Destination::OldList)
            return false;
        destination = Destination::OldListText;
        _oldList.textIsBefore = w == W::OldListBefore;
        return true;
    case W::ShapePicture:
        return true; // its \pict is read as an inline picture
    case W::SkipGroup:
        destination = Destination::Skip;
        return true;
    default:
        return false;
    }
}

void Parser::controlWord(const Token& token) {
    if (_skip > 0) {
        --_skip; // a control word in \u's fallback counts as one character
        return;
    }
    if (_state.destination == Destination::Skip)
        return;
    const bool starred = _starred;
    _starred = false;
    W w;
    const bool known = lookUpControlWord(token.word, &w);
    if (known && destinationWord(w))
        return;
    if (starred) {
        _state.destination = Destination::Skip; // a destination we do not know
        return;
    }
    if (!known)
        return;
    const int n = token.hasNumber ? token.number : kNoNumber;
    switch (w) {
    case W::Ansi:
        _documentCodePage = 1252;
        return;
    case W::Mac:
        _documentCodePage = 10000;
        return;
    case W::Pc:
        _documentCodePage = 437;
        return;
    case W::Pca:
        _documentCodePage = 850;
        return;
    case W::AnsiCodePage:
        if (n > 0)
            _documentCodePage = n;
        return;
    case W::DefaultFont:
        _defaultFont = n;
        return;
    case W::UnicodeSkip:
        _state.unicodeSkip = n == kNoNumber ? 1 : clampInt(n, 0, 16);
        return;
    case W::Unicode:
        if (n != kNoNumber)
            unicode(n);
        return;
    default:
        break;
    }
    if (const char16_t special = specialCharacter(w)) {
        appendUnit(special);
        return;
    }
    if (_state.destination == Destination::Text)
        textWord(w, n);
    else
        tableWord(w, n);
}

void Parser::controlSymbol(char symbol) {
    if (_skip > 0) {
        --_skip;
        return;
    }
    if (_state.destination == Destination::Skip)
        return;
    switch (symbol) {
    case '*':
        _starred = true;
        return;
    case '~':
        appendUnit(0xa0);
        return;
    case '-':
        appendUnit(0xad);
        return;
    case '_':
        appendUnit(0x2011);
        return;
    case '\\':
    case '{':
    case '}':
        flushBytes();
        appendUnit(char16_t(symbol));
        return;
    default:
        return; // \: (index entries), \| (formulas), broken escapes
    }
}

void Parser::textBytes(QByteArrayView bytes) {
    switch (_state.destination) {
    case Destination::Skip:
        return;
    case Destination::Picture:
        for (char c : bytes) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                continue;
            if (_picture.pendingNibble < 0) {
                _picture.pendingNibble = digit;
                continue;
            }
            if (_picture.bytes.size() >= kMaxPictureBytes)
                _picture.tooLarge = true;
            else
                _picture.bytes += char(_picture.pendingNibble * 16 + digit);
            _picture.pendingNibble = -1;
        }
        return;
    default:
        break;
    }
    const bool multiByte = isMultiByteCodePage(currentCodePage());
    for (char c : bytes) {
        if (_skip > 0) {
            --_skip;
            continue;
        }
        const uchar byte = uchar(c);
        if (byte < 0x80 && (!multiByte || _pendingBytes.isEmpty())) {
            flushBytes();
            appendUnit(byte);
        } else {
            pushByte(c);
        }
    }
}

void Parser::binary(QByteArrayView bytes) {
    if (_skip > 0) {
        --_skip; // \bin counts as one fallback character, however long
        return;
    }
    if (_state.destination != Destination::Picture)
        return;
    if (_picture.bytes.size() + bytes.size() > kMaxPictureBytes)
        _picture.tooLarge = true;
    else
        _picture.bytes += bytes;
}

int Parser::currentCodePage() const {
    if (_state.destination == Destination::FontTable)
        return _fontEntry.codePage ? _fontEntry.codePage : _documentCodePage;
    const int font = _state.character.font >= 0 ? _state.character.font : _defaultFont;
    const auto found = _fonts.constFind(font);
    if (found != _fonts.constEnd() && found->codePage != 0)
        return found->codePage;
    return _documentCodePage;
}

void Parser::pushByte(char byte) {
    if (_state.destination == Destination::Skip || _state.destination == Destination::Picture)
        return;
    const int codePage = currentCodePage();
    if (!_pendingBytes.isEmpty() && (codePage != _pendingCodePage || _pendingBytes.size() > 65536))
        flushBytes();
    _pendingCodePage = codePage;
    _pendingBytes += byte;
}

void Parser::flushBytes() {
    if (_pendingBytes.isEmpty())
        return;
    const QString text = _decoder.decode(_pendingCodePage, _pendingBytes);
    _pendingBytes.clear();
    for (QChar c : text)
        appendUnit(c.unicode());
}

void Parser::unicode(int value) {
    if (value < 0)
        value += 0x10000;
    appendUnit(value >= 0 && value <= 0xffff ? char16_t(value) : char16_t(0xfffd));
    _skip = _state.unicodeSkip;
}

// Pairs surrogates; a half without its other half becomes U+FFFD, so that the document only
// ever holds valid UTF-16.
void Parser::appendUnit(char16_t unit) {
    if (QChar::isHighSurrogate(unit)) {
        if (_highSurrogate)
            deliver(0xfffd);
        _highSurrogate = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (!_highSurrogate) {
            deliver(0xfffd);
            return;
        }
        deliver(_highSurrogate);
        deliver(unit);
        _highSurrogate = 0;
        return;
    }
    if (_highSurrogate) {
        _highSurrogate = 0;
        deliver(0xfffd);
    }
    deliver(unit);
}

void Parser::deliver(char16_t unit) {
    const auto append = [unit](QString& to, qsizetype limit) {
        if (to.size() < limit)
            to += QChar(unit);
    };
    switch (_state.destination) {
    case Destination::Text:
        appendToDocument(unit);
        return;
    case Destination::FontTable:
        if (unit == u';')
            commitFont();
        else
            append(_fontEntry.name, kMaxNameLength);
        return;
    case Destination::ColourTable:
        if (unit != u';' || _colours.size() >= kMaxTableEntries)
            return;
        _colours << (_colourGiven ? QColor(_red, _green, _blue) : QColor());
        _colourGiven = false;
        _red = _green = _blue = 0;
        return;
    case Destination::LevelText:
        if (!_lists.empty() && !_lists.back().levels.empty())
            append(_lists.back().levels.back().text, 256);
        return;
    case Destination::Attachment:
        append(_reference.fileName, kMaxNameLength);
        return;
    case Destination::FieldInstruction:
        if (_state.field >= 0 && _state.field < _fieldInstructions.size())
            append(_fieldInstructions[_state.field], kMaxNameLength);
        return;
    case Destination::OldListText:
        append(_oldList.textIsBefore ? _oldList.before : _oldList.after, 64);
        return;
    default:
        return;
    }
}

void Parser::commitFont() {
    if (_fontBeingDefined >= 0 &&
        (_fonts.size() < kMaxTableEntries || _fonts.contains(_fontBeingDefined))) {
        _fontEntry.name = _fontEntry.name.trimmed();
        _fonts.insert(_fontBeingDefined, _fontEntry);
    }
    _fontBeingDefined = -1;
    _fontEntry = Font();
}

// The target of a HYPERLINK field: HYPERLINK "url" [\l "anchor"] [other switches].
} // namespace Rtf::detail
