// The control words of text and of the tables at the start of a document.
#include "platform/text/RtfParser.h"

#include "platform/text/RtfShared.h"

namespace Rtf::detail {

using W = ControlWord;

void Parser::textWord(W word, int n) {
    CharacterState& c = _state.character;
    ParagraphState& p = _state.paragraph;
    const bool on = n != 0;
    const int twips = n == kNoNumber ? 0 : clampInt(n, -1'000'000, 1'000'000);
    switch (word) {
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

void Parser::tableWord(W w, int n) {
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
