#pragma once

#include <QTextEdit>
#include <QToolBar>

class QFontComboBox;
class QComboBox;
class QTextCharFormat;

// The note view: a rich-text editor that also takes pasted and dropped images (kept as the
// image file's own bytes, so that a saved note holds the original).
class BVNoteTextView : public QTextEdit {
    Q_OBJECT

public:
    explicit BVNoteTextView(QWidget* parent = nullptr);

    // Puts an image (encoded bytes: PNG, JPEG ...) at the cursor; false when they are not one.
    bool insertImageBytes(const QByteArray& bytes);

    // A note belongs to one recording: with none or several selected, nothing typed would have
    // a place to go, so the view is read-only and its placeholder says why.
    void showSelectionCount(int selected);
    // While a note is being read: the view says so and takes no typing, pasting or dropping,
    // which the note arriving would otherwise replace.
    void setLoading(bool loading);
    bool isLoading() const { return _loading; }

signals:
    // A time stamp's link was clicked: the place it names, in seconds.
    void timeStampClicked(double seconds);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    int _imageCount = 0;
    // The placeholder and the screen reader's description: loading, or why nothing can be
    // typed, or the form's own text.
    void showWhy();
    QString _placeholder; // the form's own, shown while a note can be written
    int _selected = 1;    // recordings selected, as last shown
    bool _loading = false;
    QString _pressedTimeStamp; // the link a click began on, until it ends
};

// The note's format bar: bold, italic, underline (Ctrl+B/I/U), font family and size, colour,
// alignment and lists, following the text at the cursor.
class NoteFormatBar : public QToolBar {
    Q_OBJECT

public:
    explicit NoteFormatBar(QWidget* parent = nullptr);
    void setEditor(QTextEdit* editor);
    // Its controls from left to right, for the window's Tab chain: the buttons are one stop
    // (the arrow keys move among them), the font and size fields each one of their own.
    QList<QWidget*> focusOrder() const;
    // Inserts the place being recorded or played (Ctrl+M).
    QAction* timeStampAction() const { return _timeStamp; }

signals:
    void timeStampRequested();

private:
    void mergeFormat(const QTextCharFormat& format);
    void showFormat(const QTextCharFormat& format);
    void showAlignment();
    void chooseColour();
    void toggleList(int style);

    QTextEdit* _editor = nullptr;
    QAction* _bold = nullptr;
    QAction* _italic = nullptr;
    QAction* _underline = nullptr;
    QAction* _colour = nullptr;
    QAction* _bullets = nullptr;
    QAction* _numbers = nullptr;
    QAction* _timeStamp = nullptr;
    QList<QAction*> _alignments;
    QFontComboBox* _family = nullptr;
    QComboBox* _size = nullptr;
};
