#include "platform/audio/SoundSettingsDialog.h"

#include "platform/foundation/LocalizedString.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>

namespace {
QComboBox* makeBox(QWidget* parent, const char* name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

void selectData(QComboBox* box, const QVariant& value) {
    const int index = box->findData(value);
    if (index >= 0)
        box->setCurrentIndex(index);
}

constexpr int kLevelIntervalMs = 100;
constexpr int kMaxGainPercent = int(kMaxInputGain * 100 + 0.5);
} // namespace

SoundSettingsDialog::SoundSettingsDialog(QWidget* parent)
    : QDialog(parent), _device(makeBox(this, "inputDevice")), _rate(makeBox(this, "sampleRate")),
      _channels(makeBox(this, "channels")), _sampleSize(makeBox(this, "sampleSize")),
      _compression(makeBox(this, "compression")), _gain(new QSlider(Qt::Horizontal, this)),
      _gainText(new QLabel(this)), _level(new QProgressBar(this)), _levelTimer(new QTimer(this)),
      _monitor(new QSlider(Qt::Horizontal, this)), _monitorText(new QLabel(this)) {
    setWindowTitle(BVLocalizedString("SoundSettings"));
    _device->addItem(BVLocalizedString("DefaultInput"), QString());
    _channels->addItem(BVLocalizedString("Mono"), 1);
    _channels->addItem(BVLocalizedString("Stereo"), 2);
    _sampleSize->addItem(BVLocalizedString("SampleSize16"), 16);
    _sampleSize->addItem(BVLocalizedString("SampleSize24"), 24);
    _compression->addItem(BVLocalizedString("NoCompression"),
                          int(ChannelSettings::Compression::None));
    _compression->addItem(BVLocalizedString("CompressionIma4"),
                          int(ChannelSettings::Compression::Ima4));
    _monitor->setObjectName(QStringLiteral("monitorVolume"));
    _monitor->setRange(0, 256);
    _monitor->setPageStep(16);
    _monitorText->setObjectName(QStringLiteral("monitorVolumeText"));
    _monitorText->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("100 %")) + 8);
    _gain->setObjectName(QStringLiteral("inputGain"));
    _gain->setRange(0, kMaxGainPercent);
    _gain->setPageStep(10);
    _gain->setAccessibleName(BVLocalizedString("InputGainName"));
    _gainText->setObjectName(QStringLiteral("inputGainText"));
    _gainText->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("150 %")) + 8);
    _level->setObjectName(QStringLiteral("inputLevel"));
    _level->setRange(0, 98);
    _level->setTextVisible(false);
    _level->setMaximumHeight(fontMetrics().height() / 2 + 4);
    _level->setAccessibleName(BVLocalizedString("InputLevelName"));
    _levelTimer->setInterval(kLevelIntervalMs);
    connect(_levelTimer, &QTimer::timeout, this, &SoundSettingsDialog::showLevel);

    auto* form = new QFormLayout;
    form->addRow(BVLocalizedString("InputLabel"), _device);
    auto* gainRow = new QHBoxLayout;
    gainRow->addWidget(_gain, 1);
    gainRow->addWidget(_gainText);
    form->addRow(BVLocalizedString("InputGainLabel"), gainRow);
    form->addRow(BVLocalizedString("InputLevelLabel"), _level);
    form->addRow(BVLocalizedString("RateLabel"), _rate);
    form->addRow(BVLocalizedString("ChannelsLabel"), _channels);
    form->addRow(BVLocalizedString("SampleSizeLabel"), _sampleSize);
    form->addRow(BVLocalizedString("CompressionLabel"), _compression);
    auto* monitorRow = new QHBoxLayout;
    monitorRow->addWidget(_monitor, 1);
    monitorRow->addWidget(_monitorText);
    form->addRow(BVLocalizedString("PlaythroughLabel"), monitorRow);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(_device, &QComboBox::currentIndexChanged, this, [this] {
        fillRates(_rate->currentData().toInt());
        updateGain();
    });
    connect(_gain, &QSlider::valueChanged, this, [this](int percent) {
        updateGainText();
        const QString device = _device->currentData().toString();
        if (!_setGain || !_gainOf)
            return;
        // As the desktop's mixer does, at once; the first value is kept for a Cancel.
        if (!_gainsBefore.contains(device))
            if (const auto before = _gainOf(device))
                _gainsBefore.insert(device, *before);
        _setGain(device, percent / 100.0);
    });
    connect(_compression, &QComboBox::currentIndexChanged, this,
            [this] { updateDependentControls(); });
    connect(_monitor, &QSlider::valueChanged, this, [this] { updateMonitorText(); });
    fillRates(44100);
    updateMonitorText();
    updateGain();
}

void SoundSettingsDialog::setDevices(const QList<AudioDevices::Input>& inputs) {
    using Kind = AudioDevices::Input::Kind;
    const QString current = _device->currentData().toString();
    QSignalBlocker block(_device);
    while (_device->count() > 1)
        _device->removeItem(1);
    // The inputs, then the monitors of the outputs, then the devices, each set apart.
    for (Kind kind : {Kind::Source, Kind::Monitor, Kind::Device}) {
        bool first = true;
        for (const AudioDevices::Input& input : inputs) {
            if (input.kind != kind)
                continue;
            if (first && _device->count() > 1)
                _device->insertSeparator(_device->count());
            first = false;
            _device->addItem(input.label, input.name);
            _device->setItemData(_device->count() - 1, input.name, Qt::ToolTipRole);
        }
    }
    // A chosen input that is not connected now stays chosen.
    if (!current.isEmpty() && _device->findData(current) < 0)
        _device->addItem(current, current);
    selectData(_device, current);
}

void SoundSettingsDialog::setDevices(const QStringList& names) {
    QList<AudioDevices::Input> inputs;
    for (const QString& name : names)
        inputs.append({name, name, AudioDevices::Input::Kind::Device, false, {}});
    setDevices(inputs);
}

void SoundSettingsDialog::setLevelSource(std::function<int(const ChannelSettings&)> source) {
    _levelSource = std::move(source);
    if (_levelSource)
        _levelTimer->start();
    else
        _levelTimer->stop();
}

void SoundSettingsDialog::setGainControl(
    std::function<std::optional<double>(const QString&)> gainOf,
    std::function<bool(const QString&, double)> setGain) {
    _gainOf = std::move(gainOf);
    _setGain = std::move(setGain);
    updateGain();
}

void SoundSettingsDialog::updateGain() {
    const auto gain = _gainOf ? _gainOf(_device->currentData().toString()) : std::nullopt;
    {
        QSignalBlocker block(_gain);
        _gain->setValue(gain ? int(*gain * 100 + 0.5) : 100);
    }
    _gain->setEnabled(gain.has_value());
    updateGainText();
}

void SoundSettingsDialog::updateGainText() {
    const QString text = _gain->isEnabled() ? QStringLiteral("%1 %").arg(_gain->value())
                                            : BVLocalizedString("InputGainNotAdjustable");
    _gainText->setText(_gain->isEnabled() ? text : QStringLiteral("–"));
    _gain->setAccessibleDescription(text);
    _gain->setToolTip(_gain->isEnabled() ? BVLocalizedString("InputGainTip") : text);
}

void SoundSettingsDialog::showLevel() {
    if (!_levelSource || !isVisible())
        return;
    const int level = _levelSource(settings());
    _level->setEnabled(level >= 0);
    _level->setValue(std::clamp(level, 0, 98));
    _level->setAccessibleDescription(level >= 0 ? QStringLiteral("%1 %").arg(level * 100 / 98)
                                                : BVLocalizedString("InputLevelUnavailable"));
}

void SoundSettingsDialog::done(int result) {
    _levelTimer->stop();
    // Cancel puts back the gains changed here.
    if (result != QDialog::Accepted && _setGain)
        for (auto it = _gainsBefore.cbegin(); it != _gainsBefore.cend(); ++it)
            _setGain(it.key(), it.value());
    _gainsBefore.clear();
    QDialog::done(result);
}

void SoundSettingsDialog::setRateSource(std::function<QList<int>(const QString&)> source) {
    _rateSource = std::move(source);
    fillRates(_rate->currentData().toInt());
}

void SoundSettingsDialog::fillRates(int keepRate) {
    QList<int> rates = _rateSource ? _rateSource(_device->currentData().toString())
                                   : QList<int>{8000, 11025, 16000, 22050, 32000, 44100, 48000};
    if (rates.isEmpty())
        rates = {44100};
    QSignalBlocker block(_rate);
    _rate->clear();
    for (int rate : rates)
        _rate->addItem(BVLocalizedString("SampleRateHz").arg(rate), rate);
    // Keep the chosen rate, or the nearest one the device offers.
    int best = 0;
    for (int i = 1; i < rates.size(); ++i) {
        if (std::abs(rates[i] - keepRate) < std::abs(rates[best] - keepRate))
            best = i;
    }
    _rate->setCurrentIndex(best);
}

void SoundSettingsDialog::updateDependentControls() {
    // IMA 4:1 codes 16-bit samples.
    const bool ima = _compression->currentData().toInt() == int(ChannelSettings::Compression::Ima4);
    if (ima)
        selectData(_sampleSize, 16);
    _sampleSize->setEnabled(!ima);
}

void SoundSettingsDialog::updateMonitorText() {
    const int volume = _monitor->value();
    _monitorText->setText(volume == 0 ? BVLocalizedString("Off")
                                      : QStringLiteral("%1 %").arg((volume * 100 + 128) / 256));
}

void SoundSettingsDialog::setSettings(const ChannelSettings& s) {
    if (_device->findData(s.inputDevice) < 0) // a device that is not connected now stays chosen
        _device->addItem(s.inputDevice, s.inputDevice);
    {
        QSignalBlocker block(_device);
        selectData(_device, s.inputDevice);
    }
    updateGain();
    fillRates(s.sampleRate);
    if (_rate->findData(s.sampleRate) < 0) {
        _rate->addItem(BVLocalizedString("SampleRateHz").arg(s.sampleRate), s.sampleRate);
        selectData(_rate, s.sampleRate);
    }
    selectData(_channels, s.channels);
    selectData(_sampleSize, s.sampleBits);
    selectData(_compression, int(s.compression));
    _monitor->setValue(s.monitorVolume);
    updateDependentControls();
    updateMonitorText();
}

ChannelSettings SoundSettingsDialog::settings() const {
    ChannelSettings s;
    s.inputDevice = _device->currentData().toString();
    s.sampleRate = _rate->currentData().toInt();
    s.channels = _channels->currentData().toInt();
    s.sampleBits = _sampleSize->currentData().toInt();
    s.compression = ChannelSettings::Compression(_compression->currentData().toInt());
    s.monitorVolume = _monitor->value();
    return s;
}
