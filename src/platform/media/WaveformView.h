#pragma once

#include "platform/media/WaveformPeaks.h"

#include <QWidget>

#include <memory>

// The waveform overview of the file the player holds, with the position on it. A click or a
// drag asks to seek there; once clicked, Left and Right ask to step as the position slider does
// (Shift for the long step). Not a Tab stop: the position slider is the player's.
class WaveformView : public QWidget {
    Q_OBJECT

public:
    explicit WaveformView(QWidget* parent = nullptr);

    // Null: nothing to show (no file, or its overview is still being worked out).
    void setOverview(std::shared_ptr<const WaveformPeaks::Overview> overview);
    bool hasOverview() const { return _overview && !_overview->peaks.empty(); }
    // Where playback is, 0 (start) to 1 (end).
    void setPosition(double fraction);
    // The fraction of the sound a point of the widget stands for.
    double fractionAt(int x) const;
    QSize sizeHint() const override;

signals:
    void seekRequested(double fraction);
    // -1 back, +1 on; long: the long step.
    void stepRequested(int direction, bool longStep);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::shared_ptr<const WaveformPeaks::Overview> _overview;
    double _position = 0;
};
