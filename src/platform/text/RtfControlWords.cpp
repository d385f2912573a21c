#include "platform/text/RtfControlWords.h"

#include <string_view>
#include <unordered_map>

namespace Rtf::detail {
namespace {

using W = ControlWord;

const std::unordered_map<std::string_view, W>& words() {
    // clang-format off
    static const std::unordered_map<std::string_view, W> table = {
        {"fonttbl", W::FontTable}, {"colortbl", W::ColourTable}, {"listtable", W::ListTable},
        {"list", W::List}, {"listlevel", W::ListLevel}, {"leveltext", W::LevelText},
        {"listoverridetable", W::ListOverrideTable}, {"listoverride", W::ListOverride},
        {"pict", W::Pict}, {"NeXTGraphic", W::NeXTGraphic}, {"field", W::Field},
        {"fldinst", W::FieldInstruction}, {"fldrslt", W::FieldResult}, {"pn", W::OldList},
        {"pntxta", W::OldListAfter}, {"pntxtb", W::OldListBefore}, {"shppict", W::ShapePicture},
        // Groups whose text is not part of the document.
        {"nonshppict", W::SkipGroup}, {"stylesheet", W::SkipGroup}, {"info", W::SkipGroup},
        {"header", W::SkipGroup}, {"headerl", W::SkipGroup}, {"headerr", W::SkipGroup},
        {"headerf", W::SkipGroup}, {"footer", W::SkipGroup}, {"footerl", W::SkipGroup},
        {"footerr", W::SkipGroup}, {"footerf", W::SkipGroup}, {"footnote", W::SkipGroup},
        {"pntext", W::SkipGroup}, {"listtext", W::SkipGroup}, {"listname", W::SkipGroup},
        {"levelnumbers", W::SkipGroup}, {"lfolevel", W::SkipGroup}, {"themedata", W::SkipGroup},
        {"colorschememapping", W::SkipGroup}, {"latentstyles", W::SkipGroup},
        {"datastore", W::SkipGroup}, {"xmlnstbl", W::SkipGroup}, {"rsidtbl", W::SkipGroup},
        {"generator", W::SkipGroup}, {"mmathPr", W::SkipGroup}, {"pgdsctbl", W::SkipGroup},
        {"filetbl", W::SkipGroup}, {"revtbl", W::SkipGroup}, {"txe", W::SkipGroup},
        {"xe", W::SkipGroup}, {"tc", W::SkipGroup}, {"bkmkstart", W::SkipGroup},
        {"bkmkend", W::SkipGroup}, {"annotation", W::SkipGroup}, {"atnid", W::SkipGroup},
        {"atnauthor", W::SkipGroup}, {"ftnsep", W::SkipGroup}, {"ftnsepc", W::SkipGroup},
        {"aftnsep", W::SkipGroup}, {"aftnsepc", W::SkipGroup}, {"pnseclvl", W::SkipGroup},
        {"template", W::SkipGroup}, {"userprops", W::SkipGroup}, {"docvar", W::SkipGroup},
        {"upr", W::SkipGroup}, {"panose", W::SkipGroup}, {"falt", W::SkipGroup},
        {"objdata", W::SkipGroup}, {"objclass", W::SkipGroup}, {"picprop", W::SkipGroup},
        {"blipuid", W::SkipGroup}, {"shpinst", W::SkipGroup}, {"author", W::SkipGroup},
        {"operator", W::SkipGroup}, {"title", W::SkipGroup}, {"subject", W::SkipGroup},
        {"keywords", W::SkipGroup}, {"comment", W::SkipGroup}, {"doccomm", W::SkipGroup},
        {"company", W::SkipGroup}, {"listpicture", W::SkipGroup},
        // document
        {"ansi", W::Ansi}, {"mac", W::Mac}, {"pc", W::Pc}, {"pca", W::Pca},
        {"ansicpg", W::AnsiCodePage}, {"deff", W::DefaultFont}, {"uc", W::UnicodeSkip},
        {"u", W::Unicode},
        // characters
        {"plain", W::Plain}, {"b", W::Bold}, {"i", W::Italic}, {"strike", W::Strike},
        {"striked", W::Strike}, {"ul", W::Underline}, {"ulw", W::Underline}, {"uldb", W::Underline},
        {"ulth", W::Underline}, {"ulnone", W::UnderlineNone}, {"uld", W::UnderlineDotted},
        {"ulthd", W::UnderlineDotted}, {"uldash", W::UnderlineDash}, {"ulthdash", W::UnderlineDash},
        {"uldashd", W::UnderlineDashDot}, {"ulthdashd", W::UnderlineDashDot},
        {"uldashdd", W::UnderlineDashDotDot}, {"ulthdashdd", W::UnderlineDashDotDot},
        {"ulwave", W::UnderlineWave}, {"ulhwave", W::UnderlineWave},
        {"ululdbwave", W::UnderlineWave}, {"super", W::Super}, {"sub", W::Sub},
        {"nosupersub", W::NoSuperSub}, {"f", W::Font}, {"fs", W::FontSize}, {"cf", W::Colour},
        {"cb", W::Background}, {"highlight", W::Background}, {"chcbpat", W::Background},
        {"v", W::Hidden},
        // paragraphs
        {"pard", W::Pard}, {"ql", W::AlignLeft}, {"qc", W::AlignCentre}, {"qr", W::AlignRight},
        {"qj", W::AlignJustify}, {"qd", W::AlignJustify}, {"li", W::LeftIndent},
        {"ri", W::RightIndent}, {"fi", W::FirstIndent}, {"sb", W::SpaceBefore},
        {"sa", W::SpaceAfter}, {"sl", W::LineSpacing}, {"slmult", W::LineMultiple},
        {"ls", W::ListOverrideIndex}, {"ilvl", W::ListLevelIndex}, {"rtlpar", W::RightToLeft},
        {"ltrpar", W::LeftToRight},
        // special characters
        {"par", W::Par}, {"sect", W::Par}, {"row", W::Par}, {"nestrow", W::Par}, {"line", W::Line},
        {"tab", W::Tab}, {"cell", W::Cell}, {"nestcell", W::Cell}, {"emdash", W::EmDash},
        {"endash", W::EnDash}, {"emspace", W::EmSpace}, {"enspace", W::EnSpace},
        {"qmspace", W::QuarterEmSpace}, {"bullet", W::Bullet}, {"lquote", W::LeftQuote},
        {"rquote", W::RightQuote}, {"ldblquote", W::LeftDoubleQuote},
        {"rdblquote", W::RightDoubleQuote}, {"zwj", W::ZeroWidthJoiner},
        {"zwnj", W::ZeroWidthNonJoiner}, {"ltrmark", W::LeftToRightMark},
        {"rtlmark", W::RightToLeftMark},
        // tables
        {"fcharset", W::Charset}, {"cpg", W::CodePage}, {"red", W::Red}, {"green", W::Green},
        {"blue", W::Blue}, {"listid", W::ListId}, {"levelnfc", W::LevelNumberFormat},
        {"pngblip", W::PngBlip}, {"jpegblip", W::JpegBlip}, {"emfblip", W::OtherBlip},
        {"wmetafile", W::OtherBlip}, {"macpict", W::OtherBlip}, {"dibitmap", W::OtherBlip},
        {"wbitmap", W::OtherBlip}, {"pmmetafile", W::OtherBlip}, {"picwgoal", W::GoalWidth},
        {"pichgoal", W::GoalHeight}, {"picscalex", W::ScaleX}, {"picscaley", W::ScaleY},
        {"width", W::Width}, {"height", W::Height}, {"pnlvlblt", W::OldListBullet},
        {"pnlvlbody", W::OldListBody}, {"pnlvlcont", W::OldListContinue},
        {"pnlvl", W::OldListLevel}, {"pndec", W::OldDecimal}, {"pnucltr", W::OldUpperAlpha},
        {"pnlcltr", W::OldLowerAlpha}, {"pnucrm", W::OldUpperRoman}, {"pnlcrm", W::OldLowerRoman},
    };
    // clang-format on
    return table;
}

} // namespace

bool lookUpControlWord(QByteArrayView word, ControlWord* found) {
    const auto& table = words();
    const auto it = table.find(std::string_view(word.data(), size_t(word.size())));
    if (it == table.end())
        return false;
    *found = it->second;
    return true;
}

// A control word without a number; toggles read it as "on".
char16_t specialCharacter(ControlWord w) {
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

} // namespace Rtf::detail
