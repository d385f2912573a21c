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

    // While a note is being read: the view says so and takes no typing, pasting or dropping,
    // which the note arriving would otherwise replace.
    void setLoading(bool loading);
    bool isLoading() const { return _loading; }

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    int _imageCount = 0;
    bool _loading = false;
    QString _placeholderBeforeLoading;
};

// The note's format bar: bold, italic, underline (Ctrl+B/I/U), font family and size, colour,
// alignment and lists, following the text at the cursor.
class NoteFormatBar : public QToolBar {
    Q_OBJECT

public:
    explicit NoteFormatBar(QWidget* parent = nullptr);
    void setEditor(QTextEdit* editor);

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
    QList<QAction*> _alignments;
    QFontComboBox* _family = nullptr;
    QComboBox* _size = nullptr;
};
