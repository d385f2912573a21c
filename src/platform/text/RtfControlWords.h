#pragma once

#include <QByteArrayView>

#include <climits>

namespace Rtf::detail {

// The control words the reader acts on; every other word is ignored.
// clang-format off
enum class ControlWord {
    // destinations
    FontTable, ColourTable, ListTable, List, ListLevel, LevelText, ListOverrideTable, ListOverride,
    Pict, NeXTGraphic, Field, FieldInstruction, FieldResult, OldList, OldListAfter, OldListBefore,
    ShapePicture, SkipGroup,
    // document
    Ansi, Mac, Pc, Pca, AnsiCodePage, DefaultFont, UnicodeSkip, Unicode,
    // characters
    Plain, Bold, Italic, Strike, Underline, UnderlineNone, UnderlineDotted, UnderlineDash,
    UnderlineDashDot, UnderlineDashDotDot, UnderlineWave, Super, Sub, NoSuperSub, Font, FontSize,
    Colour, Background, Hidden,
    // paragraphs
    Pard, AlignLeft, AlignCentre, AlignRight, AlignJustify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, LineSpacing, LineMultiple, ListOverrideIndex, ListLevelIndex,
    RightToLeft, LeftToRight,
    // special characters
    Par, Line, Tab, Cell, EmDash, EnDash, EmSpace, EnSpace, QuarterEmSpace, Bullet, LeftQuote,
    RightQuote, LeftDoubleQuote, RightDoubleQuote, ZeroWidthJoiner, ZeroWidthNonJoiner,
    LeftToRightMark, RightToLeftMark,
    // tables
    Charset, CodePage, Red, Green, Blue, ListId, LevelNumberFormat, PngBlip, JpegBlip, OtherBlip,
    GoalWidth, GoalHeight, ScaleX, ScaleY, Width, Height, OldListBullet, OldListBody,
    OldListContinue, OldListLevel, OldDecimal, OldUpperAlpha, OldLowerAlpha, OldUpperRoman,
    OldLowerRoman,
};
// clang-format on

// Finds a word the reader knows.
bool lookUpControlWord(QByteArrayView word, ControlWord* found);
// The character a word stands for (\emdash, \tab ...), or 0.
char16_t specialCharacter(ControlWord word);

// The number of a control word written without one; toggles read it as "on".
constexpr int kNoNumber = INT_MIN;

inline int clampInt(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}

} // namespace Rtf::detail
