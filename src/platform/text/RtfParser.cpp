#include "platform/text/RtfParser.h"

#include "platform/text/RtfShared.h"

#include <QTextDocument>

#include <climits>
#include <string_view>
#include <unordered_map>

namespace Rtf::detail {
namespace {

// The control words the reader acts on; every other word is ignored.
enum class W {
    // destinations
    FontTable,
    ColourTable,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    Pict,
    NeXTGraphic,
    Field,
    FieldInstruction,
    FieldResult,
    OldList,
    OldListAfter,
    OldListBefore,
    ShapePicture,
    SkipGroup,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    // characters
    Plain,
    Bold,
    Italic,
    Strike,
    Underline,
    UnderlineNone,
    UnderlineDotted,
    UnderlineDash,
    UnderlineDashDot,
    UnderlineDashDotDot,
    UnderlineWave,
    Super,
    Sub,
    NoSuperSub,
    Font,
    FontSize,
    Colour,
    Background,
    Hidden,
    // paragraphs
    Pard,
    AlignLeft,
    AlignCentre,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineMultiple,
    ListOverrideIndex,
    ListLevelIndex,
    RightToLeft,
    LeftToRight,
    // special characters
    Par,
    Line,
    Tab,
    Cell,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    Bullet,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    ZeroWidthJoiner,
    ZeroWidthNonJoiner,
    LeftToRightMark,
    RightToLeftMark,
    // tables
    Charset,
    CodePage,
    Red,
    Green,
    Blue,
    ListId,
    LevelNumberFormat,
    PngBlip,
    JpegBlip,
    OtherBlip,
    GoalWidth,
    GoalHeight,
    ScaleX,
    ScaleY,
    Width,
    Height,
    OldListBullet,
    OldListBody,
    OldListContinue,
    OldListLevel,
    OldDecimal,
    OldUpperAlpha,
    OldLowerAlpha,
    OldUpperRoman,
    OldLowerRoman,
};

const std::unordered_map<std::string_view, W>& words() {
    static const std::unordered_map<std::string_view, W> table = {
        {"fonttbl", W::FontTable},
        {"colortbl", W::ColourTable},
        {"listtable", W::ListTable},
        {"list", W::List},
        {"listlevel", W::ListLevel},
        {"leveltext", W::LevelText},
        {"listoverridetable", W::ListOverrideTable},
        {"listoverride", W::ListOverride},
        {"pict", W::Pict},
        {"NeXTGraphic", W::NeXTGraphic},
        {"field", W::Field},
        {"fldinst", W::FieldInstruction},
        {"fldrslt", W::FieldResult},
        {"pn", W::OldList},
        {"pntxta", W::OldListAfter},
        {"pntxtb", W::OldListBefore},
        {"shppict", W::ShapePicture},
        // Groups whose text is not part of the document.
        {"nonshppict", W::SkipGroup},
        {"stylesheet", W::SkipGroup},
        {"info", W::SkipGroup},
        {"header", W::SkipGroup},
        {"headerl", W::SkipGroup},
        {"headerr", W::SkipGroup},
        {"headerf", W::SkipGroup},
        {"footer", W::SkipGroup},
        {"footerl", W::SkipGroup},
        {"footerr", W::SkipGroup},
        {"footerf", W::SkipGroup},
        {"footnote", W::SkipGroup},
        {"pntext", W::SkipGroup},
        {"listtext", W::SkipGroup},
        {"listname", W::SkipGroup},
        {"levelnumbers", W::SkipGroup},
        {"lfolevel", W::SkipGroup},
        {"themedata", W::SkipGroup},
        {"colorschememapping", W::SkipGroup},
        {"latentstyles", W::SkipGroup},
        {"datastore", W::SkipGroup},
        {"xmlnstbl", W::SkipGroup},
        {"rsidtbl", W::SkipGroup},
        {"generator", W::SkipGroup},
        {"mmathPr", W::SkipGroup},
        {"pgdsctbl", W::SkipGroup},
        {"filetbl", W::SkipGroup},
        {"revtbl", W::SkipGroup},
        {"txe", W::SkipGroup},
        {"xe", W::SkipGroup},
        {"tc", W::SkipGroup},
        {"bkmkstart", W::SkipGroup},
        {"bkmkend", W::SkipGroup},
        {"annotation", W::SkipGroup},
        {"atnid", W::SkipGroup},
        {"atnauthor", W::SkipGroup},
        {"ftnsep", W::SkipGroup},
        {"ftnsepc", W::SkipGroup},
        {"aftnsep", W::SkipGroup},
        {"aftnsepc", W::SkipGroup},
        {"pnseclvl", W::SkipGroup},
        {"template", W::SkipGroup},
        {"userprops", W::SkipGroup},
        {"docvar", W::SkipGroup},
        {"upr", W::SkipGroup},
        {"panose", W::SkipGroup},
        {"falt", W::SkipGroup},
        {"objdata", W::SkipGroup},
        {"objclass", W::SkipGroup},
        {"picprop", W::SkipGroup},
        {"blipuid", W::SkipGroup},
        {"shpinst", W::SkipGroup},
        {"author", W::SkipGroup},
        {"operator", W::SkipGroup},
        {"title", W::SkipGroup},
        {"subject", W::SkipGroup},
        {"keywords", W::SkipGroup},
        {"comment", W::SkipGroup},
        {"doccomm", W::SkipGroup},
        {"company", W::SkipGroup},
        {"listpicture", W::SkipGroup},
        // document
        {"ansi", W::Ansi},
        {"mac", W::Mac},
        {"pc", W::Pc},
        {"pca", W::Pca},
        {"ansicpg", W::AnsiCodePage},
        {"deff", W::DefaultFont},
        {"uc", W::UnicodeSkip},
        {"u", W::Unicode},
        // characters
        {"plain", W::Plain},
        {"b", W::Bold},
        {"i", W::Italic},
        {"strike", W::Strike},
        {"striked", W::Strike},
        {"ul", W::Underline},
        {"ulw", W::Underline},
        {"uldb", W::Underline},
        {"ulth", W::Underline},
        {"ulnone", W::UnderlineNone},
        {"uld", W::UnderlineDotted},
        {"ulthd", W::UnderlineDotted},
        {"uldash", W::UnderlineDash},
        {"ulthdash", W::UnderlineDash},
        {"uldashd", W::UnderlineDashDot},
        {"ulthdashd", W::UnderlineDashDot},
        {"uldashdd", W::UnderlineDashDotDot},
        {"ulthdashdd", W::UnderlineDashDotDot},
        {"ulwave", W::UnderlineWave},
        {"ulhwave", W::UnderlineWave},
        {"ululdbwave", W::UnderlineWave},
        {"super", W::Super},
        {"sub", W::Sub},
        {"nosupersub", W::NoSuperSub},
        {"f", W::Font},
        {"fs", W::FontSize},
        {"cf", W::Colour},
        {"cb", W::Background},
        {"highlight", W::Background},
        {"chcbpat", W::Background},
        {"v", W::Hidden},
        // paragraphs
        {"pard", W::Pard},
        {"ql", W::AlignLeft},
        {"qc", W::AlignCentre},
        {"qr", W::AlignRight},
        {"qj", W::AlignJustify},
        {"qd", W::AlignJustify},
        {"li", W::LeftIndent},
        {"ri", W::RightIndent},
        {"fi", W::FirstIndent},
        {"sb", W::SpaceBefore},
        {"sa", W::SpaceAfter},
        {"sl", W::LineSpacing},
        {"slmult", W::LineMultiple},
        {"ls", W::ListOverrideIndex},
        {"ilvl", W::ListLevelIndex},
        {"rtlpar", W::RightToLeft},
        {"ltrpar", W::LeftToRight},
        // special characters
        {"par", W::Par},
        {"sect", W::Par},
        {"row", W::Par},
        {"nestrow", W::Par},
        {"line", W::Line},
        {"tab", W::Tab},
        {"cell", W::Cell},
        {"nestcell", W::Cell},
        {"emdash", W::EmDash},
        {"endash", W::EnDash},
        {"emspace", W::EmSpace},
        {"enspace", W::EnSpace},
        {"qmspace", W::QuarterEmSpace},
        {"bullet", W::Bullet},
        {"lquote", W::LeftQuote},
        {"rquote", W::RightQuote},
        {"ldblquote", W::LeftDoubleQuote},
        {"rdblquote", W::RightDoubleQuote},
        {"zwj", W::ZeroWidthJoiner},
        {"zwnj", W::ZeroWidthNonJoiner},
        {"ltrmark", W::LeftToRightMark},
        {"rtlmark", W::RightToLeftMark},
        // tables
        {"fcharset", W::Charset},
        {"cpg", W::CodePage},
        {"red", W::Red},
        {"green", W::Green},
        {"blue", W::Blue},
        {"listid", W::ListId},
        {"levelnfc", W::LevelNumberFormat},
        {"pngblip", W::PngBlip},
        {"jpegblip", W::JpegBlip},
        {"emfblip", W::OtherBlip},
        {"wmetafile", W::OtherBlip},
        {"macpict", W::OtherBlip},
        {"dibitmap", W::OtherBlip},
        {"wbitmap", W::OtherBlip},
        {"pmmetafile", W::OtherBlip},
        {"picwgoal", W::GoalWidth},
        {"pichgoal", W::GoalHeight},
        {"picscalex", W::ScaleX},
        {"picscaley", W::ScaleY},
        {"width", W::Width},
        {"height", W::Height},
        {"pnlvlblt", W::OldListBullet},
        {"pnlvlbody", W::OldListBody},
        {"pnlvlcont", W::OldListContinue},
        {"pnlvl", W::OldListLevel},
        {"pndec", W::OldDecimal},
        {"pnucltr", W::OldUpperAlpha},
        {"pnlcltr", W::OldLowerAlpha},
        {"pnucrm", W::OldUpperRoman},
        {"pnlcrm", W::OldLowerRoman},
    };
    return table;
}

bool lookUp(QByteArrayView word, W* found) {
    const auto& table = words();
    const auto it = table.find(std::string_view(word.data(), size_t(word.size())));
    if (it == table.end())
        return false;
    *found = it->second;
    return true;
}

// A control word without a number; toggles read it as "on".
constexpr int kNoNumber = INT_MIN;

int clampInt(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

// The characters that control words stand for (\par aside).
char16_t specialCharacter(W w) {
    switch (w) {
    case W::Line:
        return 0x2028;
    case W::Tab:
    case W::Cell: // a table's cells, kept apart on their line
        return u'\t';
    case W::EmDash:
        return 0x2014;
    case W::EnDash:
        return 0x2013;
    case W::EmSpace:
        return 0x2003;
    case W::EnSpace:
        return 0x2002;
    case W::QuarterEmSpace:
        return 0x2005;
    case W::Bullet:
        return 0x2022;
    case W::LeftQuote:
        return 0x2018;
    case W::RightQuote:
        return 0x2019;
    case W::LeftDoubleQuote:
        return 0x201c;
    case W::RightDoubleQuote:
        return 0x201d;
    case W::ZeroWidthJoiner:
        return 0x200d;
    case W::ZeroWidthNonJoiner:
        return 0x200c;
    case W::LeftToRightMark:
        return 0x200e;
    case W::RightToLeftMark:
        return 0x200f;
    default:
        return 0;
    }
}

} // namespace

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
bool Parser::destinationWord(int word) {
    const W w = W(word);
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
    const bool known = lookUp(token.word, &w);
    if (known && destinationWord(int(w)))
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
        textWord(int(w), n);
    else
        tableWord(int(w), n);
}

void Parser::textWord(int word, int n) {
    CharacterState& c = _state.character;
    ParagraphState& p = _state.paragraph;
    const bool on = n != 0;
    const int twips = n == kNoNumber ? 0 : clampInt(n, -1'000'000, 1'000'000);
    switch (W(word)) {
    case W::Plain: {
        const int link = c.link;
        c = CharacterState();
        c.link = link;
        return;
    }
    case W::Bold:
        c.bold = on;
        return;
    case W::Italic:
        c.italic = on;
        return;
    case W::Strike:
        c.strikeOut = on;
        return;
    case W::Hidden:
        c.hidden = on;
        return;
    case W::Underline:
        c.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        return;
    case W::UnderlineNone:
        c.underline = QTextCharFormat::NoUnderline;
        return;
    case W::UnderlineDotted:
        c.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        return;
    case W::UnderlineDash:
        c.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        return;
    case W::UnderlineDashDot:
        c.underline = on ? QTextCharFormat::DashDotLine : QTextCharFormat::NoUnderline;
        return;
    case W::UnderlineDashDotDot:
        c.underline = on ? QTextCharFormat::DashDotDotLine : QTextCharFormat::NoUnderline;
        return;
    case W::UnderlineWave:
        c.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        return;
    case W::Super:
        c.verticalAlignment = on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal;
        return;
    case W::Sub:
        c.verticalAlignment = on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal;
        return;
    case W::NoSuperSub:
        c.verticalAlignment = QTextCharFormat::AlignNormal;
        return;
    case W::Font:
        c.font = n == kNoNumber ? 0 : clampInt(n, 0, INT_MAX);
        return;
    case W::FontSize:
        c.halfPoints = n == kNoNumber || n <= 0 ? 0 : clampInt(n, 2, 3276);
        return;
    case W::Colour:
        c.foreground = n == kNoNumber ? 0 : clampInt(n, 0, INT_MAX);
        return;
    case W::Background:
        c.background = n == kNoNumber ? 0 : clampInt(n, 0, INT_MAX);
        return;
    case W::Pard:
        p = ParagraphState();
        return;
    case W::AlignLeft:
        p.alignment = 0;
        return;
    case W::AlignCentre:
        p.alignment = 1;
        return;
    case W::AlignRight:
        p.alignment = 2;
        return;
    case W::AlignJustify:
        p.alignment = 3;
        return;
    case W::LeftIndent:
        p.left = twips;
        p.has |= ParagraphState::HasLeft;
        return;
    case W::RightIndent:
        p.right = twips;
        p.has |= ParagraphState::HasRight;
        return;
    case W::FirstIndent:
        p.first = twips;
        p.has |= ParagraphState::HasFirst;
        return;
    case W::SpaceBefore:
        p.before = twips;
        p.has |= ParagraphState::HasBefore;
        return;
    case W::SpaceAfter:
        p.after = twips;
        p.has |= ParagraphState::HasAfter;
        return;
    case W::LineSpacing:
        p.lineSpacing = twips;
        return;
    case W::LineMultiple:
        p.lineMultiple = on;
        return;
    case W::ListOverrideIndex:
        p.listOverride = n == kNoNumber ? 0 : clampInt(n, 0, INT_MAX);
        return;
    case W::ListLevelIndex:
        p.listLevel = n == kNoNumber ? 0 : clampInt(n, 0, kListLevels - 1);
        return;
    case W::RightToLeft:
        p.rightToLeft = true;
        return;
    case W::LeftToRight:
        p.rightToLeft = false;
        return;
    case W::Par:
        paragraphBreak();
        return;
    default:
        return;
    }
}

void Parser::tableWord(int word, int n) {
    const W w = W(word);
    const int value = n == kNoNumber ? 0 : n;
    switch (_state.destination) {
    case Destination::FontTable:
        if (w == W::Font) {
            commitFont();
            _fontBeingDefined = clampInt(value, 0, INT_MAX);
        } else if (w == W::Charset && _fontEntry.codePage == 0) {
            _fontEntry.codePage = codePageOfCharset(value);
        } else if (w == W::CodePage && value > 0) {
            _fontEntry.codePage = value;
        }
        return;
    case Destination::ColourTable:
        if (w == W::Red || w == W::Green || w == W::Blue) {
            (w == W::Red ? _red : w == W::Green ? _green : _blue) = clampInt(value, 0, 255);
            _colourGiven = true;
        }
        return;
    case Destination::List:
        if (w == W::ListId && !_lists.empty()) {
            _lists.back().id = value;
            _listById.insert(value, int(_lists.size() - 1));
        }
        return;
    case Destination::ListLevel:
        if (w == W::LevelNumberFormat && !_lists.empty() && !_lists.back().levels.empty())
            _lists.back().levels.back().numberFormat = value;
        return;
    case Destination::ListOverride:
        if (w == W::ListId)
            _overrideListId = value;
        else if (w == W::ListOverrideIndex && _listOfOverride.size() < kMaxTableEntries)
            _listOfOverride.insert(value, _overrideListId);
        return;
    case Destination::Picture:
        switch (w) {
        case W::PngBlip:
            _picture.extension = QStringLiteral("png");
            return;
        case W::JpegBlip:
            _picture.extension = QStringLiteral("jpg");
            return;
        case W::OtherBlip: // formats Qt cannot show
            _picture.extension.clear();
            return;
        case W::GoalWidth:
            _picture.goalWidth = clampInt(value, 0, 1'000'000);
            return;
        case W::GoalHeight:
            _picture.goalHeight = clampInt(value, 0, 1'000'000);
            return;
        case W::ScaleX:
            _picture.scaleX = clampInt(value, 1, 10'000);
            return;
        case W::ScaleY:
            _picture.scaleY = clampInt(value, 1, 10'000);
            return;
        default:
            return;
        }
    case Destination::Attachment:
        if (w == W::Width)
            _reference.width = clampInt(value, 0, 1'000'000);
        else if (w == W::Height)
            _reference.height = clampInt(value, 0, 1'000'000);
        return;
    case Destination::OldList:
        switch (w) {
        case W::OldListBullet:
            _oldList.style = QTextListFormat::ListDisc;
            _oldList.level = 1;
            return;
        case W::OldListBody:
            _oldList.style = QTextListFormat::ListDecimal;
            _oldList.level = 1;
            return;
        case W::OldListLevel:
            _oldList.level = clampInt(value, 1, kListLevels);
            if (_oldList.style == 0)
                _oldList.style = QTextListFormat::ListDecimal;
            return;
        case W::OldListContinue:
            _oldList.style = 0; // a paragraph inside an item, without a number of its own
            return;
        case W::OldDecimal:
            _oldList.style = QTextListFormat::ListDecimal;
            return;
        case W::OldUpperAlpha:
            _oldList.style = QTextListFormat::ListUpperAlpha;
            return;
        case W::OldLowerAlpha:
            _oldList.style = QTextListFormat::ListLowerAlpha;
            return;
        case W::OldUpperRoman:
            _oldList.style = QTextListFormat::ListUpperRoman;
            return;
        case W::OldLowerRoman:
            _oldList.style = QTextListFormat::ListLowerRoman;
            return;
        default:
            return;
        }
    default:
        return;
    }
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
QString Parser::hyperlink(const QString& instruction) const {
    const QString text = instruction.trimmed();
    if (!text.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return {};
    QString url, anchor;
    bool nextIsAnchor = false, nextIsArgument = false;
    qsizetype at = 9;
    while (at < text.size()) {
        if (text[at].isSpace()) {
            ++at;
            continue;
        }
        if (text[at] == u'\\' && at + 1 < text.size()) {
            const QChar option = text[at + 1];
            nextIsAnchor = option == u'l';
            nextIsArgument = option == u'o' || option == u't';
            at += 2;
            continue;
        }
        QString argument;
        if (text[at] == u'"') {
            for (++at; at < text.size() && text[at] != u'"'; ++at) {
                if (text[at] == u'\\' && at + 1 < text.size())
                    ++at; // an escaped quote or backslash
                argument += text[at];
            }
            ++at;
        } else {
            qsizetype end = at;
            while (end < text.size() && !text[end].isSpace())
                ++end;
            argument = text.mid(at, end - at);
            at = end;
        }
        if (nextIsAnchor)
            anchor = argument;
        else if (!nextIsArgument && url.isEmpty())
            url = argument;
        nextIsAnchor = nextIsArgument = false;
    }
    if (anchor.isEmpty())
        return url;
    return url + u'#' + anchor;
}

} // namespace Rtf::detail
