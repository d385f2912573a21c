#pragma once

#include "platform/audio/AudioDevices.h"
#include "platform/audio/SequenceGrabber.h"

#include <QDialog>
#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QProgressBar;
class QSlider;
class QTimer;

// The sound settings dialog: the input (the sound server's sources by name, the monitors of its
// outputs, then the devices), its gain on the server with a live level meter, the sample rate,
// channels, sample size, compression and the monitor (playthrough) volume. It maps
// ChannelSettings to its controls and back; the grabber runs it.
class SoundSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit SoundSettingsDialog(QWidget* parent = nullptr);

    // The inputs to offer besides the default input; the choice is kept.
    void setDevices(const QList<AudioDevices::Input>& inputs);
    // Devices by name only (systems without a sound server).
    void setDevices(const QStringList& names);
    // Where the rates offered for a device come from (asked again when the device changes).
    void setRateSource(std::function<QList<int>(const QString& device)> source);
    // The level of the chosen input on the meter's scale (0-98; negative: it cannot be
    // measured), asked ten times a second while the dialog shows.
    void setLevelSource(std::function<int(const ChannelSettings& chosen)> source);
    // An input's gain (none: it has no volume the server controls), and how to set it. Gains
    // changed here are put back when the dialog is cancelled.
    void setGainControl(std::function<std::optional<double>(const QString& device)> gainOf,
                        std::function<bool(const QString& device, double gain)> setGain);
    void setSettings(const ChannelSettings& settings);
    ChannelSettings settings() const;
    // Shows the chosen input's gain as the server has it now.
    void updateGain();

    void done(int result) override;

private:
    void fillRates(int keepRate);
    void updateDependentControls();
    void updateMonitorText();
    void updateGainText();
    void showLevel();

    std::function<QList<int>(const QString&)> _rateSource;
    std::function<int(const ChannelSettings&)> _levelSource;
    std::function<std::optional<double>(const QString&)> _gainOf;
    std::function<bool(const QString&, double)> _setGain;
    QHash<QString, double> _gainsBefore; // of the inputs whose gain was changed here
    QComboBox* _device;
    QComboBox* _rate;
    QComboBox* _channels;
    QComboBox* _sampleSize;
    QComboBox* _compression;
    QSlider* _gain;
    QLabel* _gainText;
    QProgressBar* _level;
    QTimer* _levelTimer;
    QSlider* _monitor;
    QLabel* _monitorText;
};
