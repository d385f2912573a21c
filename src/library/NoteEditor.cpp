#include "library/NoteEditor.h"
#include "library/NoteTimeStamps.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/RovingFocus.h"

#include <QActionGroup>
#include <QBuffer>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPixmap>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>
#include <QToolButton>
#include <QUrl>

#include <utility>

namespace {
// Larger pictures are shown scaled down; the file keeps every pixel.
constexpr int kLargestShownWidth = 480;

QByteArray imageFileBytes(const QMimeData* source, const QUrl& url) {
    Q_UNUSED(source);
    if (!url.isLocalFile())
        return {};
    QFile file(url.toLocalFile());
    if (!file.open(QIODevice::ReadOnly) || file.size() > 64 * 1024 * 1024)
        return {};
    return file.readAll();
}

bool isImageFile(const QUrl& url) {
    return url.isLocalFile() && !QImageReader::imageFormat(url.toLocalFile()).isEmpty();
}

QIcon themed(const char* name) {
    return QIcon::fromTheme(QString::fromLatin1(name));
}
} // namespace

BVNoteTextView::BVNoteTextView(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    // Tab goes on to the controls, as everywhere in the window; a note is not a table of stops.
    setTabChangesFocus(true);
    setAccessibleName(BVLocalizedString("NoteViewName"));
}

void BVNoteTextView::showSelectionCount(int selected) {
    _selected = selected;
    const bool writable = selected == 1;
    setReadOnly(!writable);
    // Read-only text keeps no visible cursor; the frame's look says it cannot be typed into.
    viewport()->setCursor(writable ? Qt::IBeamCursor : Qt::ArrowCursor);
    showWhy();
}

void BVNoteTextView::showWhy() {
    if (_placeholder.isNull())
        _placeholder = placeholderText().isNull() ? QString(QLatin1String("")) : placeholderText();
    const QString why = _loading         ? BVLocalizedString("NoteLoading")
                        : _selected == 0 ? BVLocalizedString("NoteNeedsASelection")
                        : _selected == 1
                            ? _placeholder
                            : BVLocalizedString("NoteNeedsOneSelection").arg(_selected);
    setPlaceholderText(why);
    setAccessibleDescription(why);
}

bool BVNoteTextView::insertImageBytes(const QByteArray& bytes) {
    QImage image;
    if (!image.loadFromData(bytes))
        return false;
    const QString name = QStringLiteral("note-image-%1").arg(++_imageCount);
    QUrl url(name);
    while (!document()->resource(QTextDocument::ImageResource, url).isNull())
        url = QUrl(QStringLiteral("note-image-%1").arg(++_imageCount));
    // Kept as the file's bytes; the document decodes them to draw.
    document()->addResource(QTextDocument::ImageResource, url, bytes);
    QTextImageFormat format;
    format.setName(url.toString());
    if (image.width() > kLargestShownWidth) {
        format.setWidth(kLargestShownWidth);
        format.setHeight(double(image.height()) * kLargestShownWidth / image.width());
    }
    textCursor().insertImage(format);
    return true;
}

void BVNoteTextView::setLoading(bool loading) {
    if (loading == _loading)
        return;
    _loading = loading;
    showWhy();
}

void BVNoteTextView::keyPressEvent(QKeyEvent* event) {
    if (_loading) {
        event->ignore();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

// A click on a time stamp plays from there; a drag that began on one selects, as ever.
void BVNoteTextView::mousePressEvent(QMouseEvent* event) {
    _pressedTimeStamp.clear();
    if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier) {
        const QString href = anchorAt(event->position().toPoint());
        if (NoteTimeStamps::secondsOf(href))
            _pressedTimeStamp = href;
    }
    QTextEdit::mousePressEvent(event);
}

void BVNoteTextView::mouseMoveEvent(QMouseEvent* event) {
    const bool overStamp = bool(NoteTimeStamps::secondsOf(anchorAt(event->position().toPoint())));
    viewport()->setCursor(overStamp ? Qt::PointingHandCursor : Qt::IBeamCursor);
    QTextEdit::mouseMoveEvent(event);
}

void BVNoteTextView::mouseReleaseEvent(QMouseEvent* event) {
    const QString pressed = std::exchange(_pressedTimeStamp, QString());
    QTextEdit::mouseReleaseEvent(event);
    if (pressed.isEmpty() || textCursor().hasSelection() ||
        anchorAt(event->position().toPoint()) != pressed)
        return;
    if (const std::optional<double> seconds = NoteTimeStamps::secondsOf(pressed))
        emit timeStampClicked(*seconds);
}

void BVNoteTextView::inputMethodEvent(QInputMethodEvent* event) {
    if (_loading) {
        event->ignore();
        return;
    }
    QTextEdit::inputMethodEvent(event);
}

bool BVNoteTextView::canInsertFromMimeData(const QMimeData* source) const {
    if (_loading)
        return false;
    if (source->hasImage())
        return true;
    for (const QUrl& url : source->urls()) {
        if (isImageFile(url))
            return true;
    }
    return QTextEdit::canInsertFromMimeData(source);
}

void BVNoteTextView::insertFromMimeData(const QMimeData* source) {
    if (_loading)
        return;
    bool inserted = false;
    for (const QUrl& url : source->urls()) {
        if (isImageFile(url))
            inserted = insertImageBytes(imageFileBytes(source, url)) || inserted;
    }
    if (inserted)
        return;
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.isNull() && image.save(&buffer, "PNG") && insertImageBytes(png))
            return;
    }
    QTextEdit::insertFromMimeData(source);
}

NoteFormatBar::NoteFormatBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("noteFormatBar"));
    setIconSize(QSize(16, 16));
    // Without an icon theme a button shows its text instead.
    setToolButtonStyle(Qt::ToolButtonIconOnly);

    auto toggle = [this](const char* icon, const QString& text, QKeySequence keys) {
        QAction* action = addAction(themed(icon), text);
        action->setCheckable(true);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setToolTip(
            QStringLiteral("%1 (%2)").arg(text, keys.toString(QKeySequence::NativeText)));
        return action;
    };
    _bold = toggle("format-text-bold", BVLocalizedString("Bold"), QKeySequence::Bold);
    _italic = toggle("format-text-italic", BVLocalizedString("Italic"), QKeySequence::Italic);
    _underline =
        toggle("format-text-underline", BVLocalizedString("Underline"), QKeySequence::Underline);
    connect(_bold, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(format);
    });
    connect(_italic, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        mergeFormat(format);
    });
    connect(_underline, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        mergeFormat(format);
    });

    _family = new QFontComboBox(this);
    _family->setToolTip(BVLocalizedString("Font"));
    _family->setMaximumWidth(160);
    addWidget(_family);
    connect(_family, &QFontComboBox::textActivated, this, [this](const QString& family) {
        QTextCharFormat format;
        format.setFontFamilies({family});
        mergeFormat(format);
    });
    _size = new QComboBox(this);
    _size->setToolTip(BVLocalizedString("FontSize"));
    _size->setEditable(true);
    for (int points : QFontDatabase::standardSizes())
        _size->addItem(QString::number(points));
    addWidget(_size);
    connect(_size, &QComboBox::textActivated, this, [this](const QString& text) {
        const double points = text.toDouble();
        if (points <= 0 || points > 400)
            return;
        QTextCharFormat format;
        format.setFontPointSize(points);
        mergeFormat(format);
    });

    _colour = addAction(themed("format-text-color"), BVLocalizedString("TextColourButton"));
    connect(_colour, &QAction::triggered, this, &NoteFormatBar::chooseColour);
    addSeparator();

    auto* alignments = new QActionGroup(this);
    const struct {
        const char* icon;
        QString text;
        Qt::Alignment alignment;
    } aligns[] = {
        {"format-justify-left", BVLocalizedString("AlignLeft"), Qt::AlignLeft | Qt::AlignAbsolute},
        {"format-justify-center", BVLocalizedString("AlignCentre"), Qt::AlignHCenter},
        {"format-justify-right", BVLocalizedString("AlignRight"),
         Qt::AlignRight | Qt::AlignAbsolute},
        {"format-justify-fill", BVLocalizedString("AlignJustify"), Qt::AlignJustify},
    };
    for (const auto& align : aligns) {
        QAction* action = alignments->addAction(themed(align.icon), align.text);
        action->setCheckable(true);
        action->setData(int(align.alignment));
        addAction(action);
        _alignments << action;
        connect(action, &QAction::triggered, this, [this, alignment = align.alignment] {
            if (_editor)
                _editor->setAlignment(alignment);
        });
    }
    addSeparator();
    _bullets = addAction(themed("format-list-unordered"), BVLocalizedString("BulletedList"));
    _numbers = addAction(themed("format-list-ordered"), BVLocalizedString("NumberedList"));
    for (QAction* action : {_bullets, _numbers})
        action->setCheckable(true);
    connect(_bullets, &QAction::triggered, this,
            [this] { toggleList(int(QTextListFormat::ListDisc)); });
    connect(_numbers, &QAction::triggered, this,
            [this] { toggleList(int(QTextListFormat::ListDecimal)); });

    addSeparator();
    // Works in the whole window: the place is wanted the moment it is heard.
    _timeStamp = addAction(themed("appointment-new"), BVLocalizedString("InsertTimeStamp"));
    _timeStamp->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
    _timeStamp->setShortcutContext(Qt::WindowShortcut);
    _timeStamp->setToolTip(QStringLiteral("%1 (%2)").arg(
        _timeStamp->text(), _timeStamp->shortcut().toString(QKeySequence::NativeText)));
    connect(_timeStamp, &QAction::triggered, this, &NoteFormatBar::timeStampRequested);

    // Without an icon theme a button shows a short text instead of its whole name.
    const std::pair<QAction*, QString> shortTexts[] = {
        {_bold, BVLocalizedString("BoldShort")},
        {_italic, BVLocalizedString("ItalicShort")},
        {_underline, BVLocalizedString("UnderlineShort")},
        {_colour, BVLocalizedString("ColourShort")},
        {_alignments[0], QStringLiteral("⇤")},
        {_alignments[1], QStringLiteral("↔")},
        {_alignments[2], QStringLiteral("⇥")},
        {_alignments[3], QStringLiteral("☰")},
        {_bullets, QStringLiteral("•")},
        {_numbers, QStringLiteral("1.")},
        {_timeStamp, QStringLiteral("[⏱]")},
    };
    for (const auto& [action, text] : shortTexts) {
        if (action->icon().isNull())
            action->setIconText(text);
    }
    // Glyphs say nothing to a screen reader: every button is named after what it does.
    QList<QWidget*> buttons;
    for (QAction* action : actions()) {
        auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
        if (!button)
            continue;
        button->setAccessibleName(action->text());
        button->setAccessibleDescription(action->toolTip());
        buttons << button;
    }
    new RovingFocus(buttons, this);
    for (QComboBox* field : {static_cast<QComboBox*>(_family), _size}) {
        const QString name = field->toolTip();
        field->setAccessibleName(name);
        if (field->lineEdit())
            field->lineEdit()->setAccessibleName(name);
    }

    for (QAction* action : {_bold, _italic, _underline}) {
        if (QWidget* button = widgetForAction(action)) {
            QFont font = button->font();
            font.setBold(action == _bold);
            font.setItalic(action == _italic);
            font.setUnderline(action == _underline);
            button->setFont(font);
        }
    }
}

QList<QWidget*> NoteFormatBar::focusOrder() const {
    QList<QWidget*> order;
    for (QAction* action : actions()) {
        QWidget* widget = widgetForAction(action);
        if (widget && widget->focusPolicy() != Qt::NoFocus)
            order << widget;
    }
    return order;
}

void NoteFormatBar::setEditor(QTextEdit* editor) {
    _editor = editor;
    if (!editor)
        return;
    // The shortcuts work while the note has the focus.
    for (QAction* action : {_bold, _italic, _underline})
        editor->addAction(action);
    connect(editor, &QTextEdit::currentCharFormatChanged, this, &NoteFormatBar::showFormat);
    connect(editor, &QTextEdit::cursorPositionChanged, this, &NoteFormatBar::showAlignment);
    showFormat(editor->currentCharFormat());
    showAlignment();
}

void NoteFormatBar::mergeFormat(const QTextCharFormat& format) {
    if (!_editor)
        return;
    QTextCursor cursor = _editor->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    _editor->mergeCurrentCharFormat(format);
    _editor->setFocus();
}

void NoteFormatBar::showFormat(const QTextCharFormat& format) {
    _bold->setChecked(format.fontWeight() >= QFont::Bold);
    _italic->setChecked(format.fontItalic());
    _underline->setChecked(format.fontUnderline());
    const QFont font = format.font();
    _family->setCurrentFont(font);
    _size->setEditText(QString::number(font.pointSizeF()));
}

void NoteFormatBar::showAlignment() {
    if (!_editor)
        return;
    const Qt::Alignment alignment = _editor->alignment() & Qt::AlignHorizontal_Mask;
    for (QAction* action : _alignments) {
        const auto wanted = Qt::Alignment(action->data().toInt()) & Qt::AlignHorizontal_Mask;
        action->setChecked((wanted & ~Qt::AlignAbsolute) == (alignment & ~Qt::AlignAbsolute));
    }
    const QTextList* list = _editor->textCursor().currentList();
    const int style = list ? int(list->format().style()) : 0;
    _bullets->setChecked(list && style >= int(QTextListFormat::ListSquare) && style < 0);
    _numbers->setChecked(list && style <= int(QTextListFormat::ListDecimal));
}

void NoteFormatBar::chooseColour() {
    if (!_editor)
        return;
    const QColor colour =
        QColorDialog::getColor(_editor->textColor(), this, BVLocalizedString("TextColour"));
    if (!colour.isValid())
        return;
    QTextCharFormat format;
    format.setForeground(colour);
    mergeFormat(format);
}

void NoteFormatBar::toggleList(int style) {
    if (!_editor)
        return;
    QTextCursor cursor = _editor->textCursor();
    cursor.beginEditBlock();
    if (QTextList* list = cursor.currentList(); list && int(list->format().style()) == style) {
        // The same button again ends the list for these paragraphs.
        QTextBlockFormat block = cursor.blockFormat();
        list->remove(cursor.block());
        block.setIndent(0);
        block.setObjectIndex(-1);
        cursor.setBlockFormat(block);
    } else {
        QTextListFormat format;
        format.setStyle(QTextListFormat::Style(style));
        cursor.createList(format);
    }
    cursor.endEditBlock();
    showAlignment();
}
