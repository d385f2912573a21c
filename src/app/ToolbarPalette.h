#pragma once

#include <QDialog>

class CustomizableToolbar;

// The customisation palette of a toolbar: every item the toolbar allows (spaces, flexible
// spaces and separators included), to be dragged into the toolbar; toolbar items dropped on
// it are removed. "Restore Defaults" brings back the default arrangement.
class ToolbarPalette : public QDialog {
    Q_OBJECT

public:
    ToolbarPalette(CustomizableToolbar* toolbar, QWidget* parent);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    CustomizableToolbar* _toolbar;
};
