#pragma once

#include <QSplitter>

#include <functional>

// A split view whose delegate lays the panes out after every resize; without a delegate it
// shares the change as QSplitter does. Dragging the divider is the splitter's own. It asks
// for at least the lower pane's height, so the window cannot squeeze the upper pane away.
class BVSplitView : public QSplitter {
    Q_OBJECT

public:
    using ResizeDelegate = std::function<void(QSplitter*, QSize oldSize)>;

    explicit BVSplitView(QWidget* parent = nullptr);
    void setResizeDelegate(ResizeDelegate delegate) { _delegate = std::move(delegate); }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    ResizeDelegate _delegate;
};
