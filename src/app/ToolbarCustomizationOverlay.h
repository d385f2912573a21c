#pragma once

#include <QPoint>
#include <QWidget>

class CustomizableToolbar;

// Lies over a toolbar while it is being customised: outlines the items, lets them be dragged
// to another place or out of the toolbar, and takes the items dragged in from the palette.
// The items beneath do not act meanwhile.
class ToolbarCustomizationOverlay : public QWidget {
    Q_OBJECT

public:
    explicit ToolbarCustomizationOverlay(CustomizableToolbar* toolbar);

    // What a drag of a toolbar item carries: its identifier, and where it came from.
    static const QString kIdentifierMimeType;
    static const QString kSourceIndexMimeType;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void showInsertionAt(QPoint position);

    CustomizableToolbar* _toolbar;
    QPoint _pressedAt;
    int _pressedIndex = -1;
    int _insertionX = -1; // where a drop would land, while something is dragged over
};
