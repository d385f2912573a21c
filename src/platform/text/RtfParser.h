#pragma once

#include "platform/text/RtfCodePages.h"
#include "platform/text/RtfControlWords.h"
#include "platform/text/RtfReader.h"
#include "platform/text/RtfTokenizer.h"

#include <QColor>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <QTextCursor>
#include <QTextListFormat>

#include <vector>

class QTextDocument;
class QTextList;

namespace Rtf::detail {

// Where the text of a group goes.
enum class Destination : unsigned char {
    Text,
    Skip,
    FontTable,
    ColourTable,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    Picture,
    Attachment, // \NeXTGraphic: an RTFD attachment's file name
    FieldInstruction,
    OldList,     // \pn
    OldListText, // \pntxta, \pntxtb
};

struct CharacterState {
    int font = -1;      // index given by \f, or -1 for the document's default
    int halfPoints = 0; // 0: the default size
    int underline = 0;  // a QTextCharFormat::UnderlineStyle
    int verticalAlignment = 0;
    int foreground = 0; // colour table index; 0 is the default colour
    int background = 0;
    int link = -1; // index into the links of fields
    bool bold = false;
    bool italic = false;
    bool strikeOut = false;
    bool hidden = false;
    bool operator==(const CharacterState&) const = default;
};

struct ParagraphState {
    enum : unsigned { HasLeft = 1, HasRight = 2, HasFirst = 4, HasBefore = 8, HasAfter = 16 };
    int alignment = -1; // -1 unset, else 0 left, 1 centre, 2 right, 3 justify
    unsigned has = 0;
    int left = 0, right = 0, first = 0, before = 0, after = 0; // twips
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool rightToLeft = false;
    int listOverride = 0; // \ls
    int listLevel = 0;    // \ilvl
    int oldListStyle = 0; // \pn: a QTextListFormat::Style, 0 for none
    int oldListLevel = 0;
};

struct GroupState {
    CharacterState character;
    ParagraphState paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;      // \ucN
    int field = -1;           // the \field this group belongs to
    bool swallowNext = false; // the placeholder character after an attachment
};

// Reads tokens into a QTextDocument. Everything it keeps grows at most linearly with the
// input and is capped; groups nest at most kMaxDepth deep (deeper braces are counted, and
// their content read as part of the deepest group).
class Parser {
public:
    Parser(QTextDocument* document, const AttachmentResolver& attachment);
    void read(QByteArrayView rtf);
    int picturesLeftOut() const { return _picturesLeftOut; }

private:
    static constexpr int kMaxDepth = 1000;
    static constexpr int kMaxTableEntries = 16384;
    static constexpr qsizetype kMaxPictureBytes = 64 << 20;
    static constexpr qsizetype kMaxTotalPictureBytes = 256 << 20;
    static constexpr qsizetype kMaxNameLength = 1024;

    struct Font {
        QString name;
        int codePage = 0;
    };
    struct ListLevel {
        int numberFormat = 23;
        QString text; // \leveltext: its length, then the text with level placeholders
    };
    struct ListDefinition {
        int id = 0;
        std::vector<ListLevel> levels;
    };
    struct Picture {
        QByteArray bytes;
        QString extension;
        int goalWidth = 0, goalHeight = 0, scaleX = 100, scaleY = 100;
        int pendingNibble = -1;
        bool tooLarge = false;
    };
    struct AttachmentReference {
        QString fileName;
        int width = 0, height = 0;
    };
    struct OldList {
        int style = 0, level = 0;
        QString before, after;
        bool textIsBefore = false;
    };

    // Tokens
    void openGroup();
    void closeGroup();
    void endDestination(const GroupState& closed);
    void controlWord(const Token& token);
    bool destinationWord(ControlWord word);
    void textWord(ControlWord word, int number);
    void tableWord(ControlWord word, int number);
    void controlSymbol(char symbol);
    void textBytes(QByteArrayView bytes);
    void binary(QByteArrayView bytes);

    // Text, decoded
    int currentCodePage() const;
    void pushByte(char byte);
    void flushBytes();
    void unicode(int value);
    void appendUnit(char16_t unit);
    void deliver(char16_t unit);

    // The document
    void appendToDocument(char16_t unit);
    void flushRun();
    void ensureBlock();
    void paragraphBreak();
    void finishParagraph();
    QTextCharFormat charFormat(const CharacterState& state) const;
    QTextListFormat listFormat(int override, int level) const;
    // Adds the image as a resource with a unique name made from the wanted one; empty when
    // there are no bytes or too many altogether.
    QString addImage(const QByteArray& bytes, const QString& wantedName);
    void insertImage(const QString& name, double width, double height);
    void finishPicture();
    void finishAttachment();
    void commitFont();
    QString hyperlink(const QString& instruction) const;

    QTextDocument* _document;
    const AttachmentResolver& _attachment;
    QTextCursor _cursor;

    GroupState _state;
    std::vector<GroupState> _saved;
    int _excessDepth = 0;
    bool _starred = false;
    int _skip = 0; // fallback characters of \u still to skip

    int _documentCodePage = 1252;
    int _defaultFont = 0;
    CodePageDecoder _decoder;
    QByteArray _pendingBytes;
    int _pendingCodePage = 0;
    char16_t _highSurrogate = 0;

    QHash<int, Font> _fonts;
    int _fontBeingDefined = -1;
    Font _fontEntry;
    QList<QColor> _colours;
    int _red = 0, _green = 0, _blue = 0;
    bool _colourGiven = false;
    std::vector<ListDefinition> _lists;
    QHash<int, int> _listById;       // \listid -> index in _lists
    QHash<int, int> _listOfOverride; // \ls -> \listid
    int _overrideListId = 0;
    QHash<quint64, QTextList*> _documentLists;
    QHash<quint64, QTextList*> _oldLists;
    Picture _picture;
    qsizetype _pictureBytesTotal = 0;
    AttachmentReference _reference;
    OldList _oldList;
    QStringList _fieldInstructions;
    QStringList _links;
    QSet<QString> _imageNames; // lower case
    // The next number to try for each picture name already taken, so that naming thousands
    // of "image.png" stays linear.
    QHash<QString, int> _nextImageNumber;
    int _picturesLeftOut = 0;
    QHash<QString, QString> _imageOfAttachment;

    QString _run;
    CharacterState _runState;
    bool _blockPending = false; // a \par ended the last block; the next content opens one
};

} // namespace Rtf::detail
