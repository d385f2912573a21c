#pragma once

#include <QStatusBar>

// The window's status bar. A message that does not fit on one line is wrapped onto more, the bar
// growing to hold them, instead of being cut off at the window's edge.
class WrappingStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit WrappingStatusBar(QWidget* parent = nullptr);

    // How long a message stays: long enough to read it, and never minutes.
    static int timeoutFor(const QString& message);
    // The text as shown: a long path may break after any of its slashes, not only at blanks.
    static QString wrappable(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect messageRect() const;
    void fitMessage();
};
