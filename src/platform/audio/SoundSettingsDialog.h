#pragma once

#include "platform/audio/SequenceGrabber.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QComboBox;
class QLabel;
class QSlider;

// The sound settings dialog: input device, sample rate, channels, sample size, compression and
// the monitor (playthrough) volume. It maps ChannelSettings to its controls and back; the
// grabber runs it.
class SoundSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit SoundSettingsDialog(QWidget* parent = nullptr);

    // The devices to offer besides the default input.
    void setDevices(const QStringList& names);
    // Where the rates offered for a device come from (asked again when the device changes).
    void setRateSource(std::function<QList<int>(const QString& device)> source);
    void setSettings(const ChannelSettings& settings);
    ChannelSettings settings() const;

private:
    void fillRates(int keepRate);
    void updateDependentControls();
    void updateMonitorText();

    std::function<QList<int>(const QString&)> _rateSource;
    QComboBox* _device;
    QComboBox* _rate;
    QComboBox* _channels;
    QComboBox* _sampleSize;
    QComboBox* _compression;
    QSlider* _monitor;
    QLabel* _monitorText;
};
