#include "platform/audio/SoundSettingsDialog.h"

#include "platform/foundation/LocalizedString.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
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
} // namespace

SoundSettingsDialog::SoundSettingsDialog(QWidget* parent)
    : QDialog(parent), _device(makeBox(this, "inputDevice")), _rate(makeBox(this, "sampleRate")),
      _channels(makeBox(this, "channels")), _sampleSize(makeBox(this, "sampleSize")),
      _compression(makeBox(this, "compression")), _monitor(new QSlider(Qt::Horizontal, this)),
      _monitorText(new QLabel(this)) {
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

    auto* form = new QFormLayout;
    form->addRow(BVLocalizedString("InputLabel"), _device);
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

    connect(_device, &QComboBox::currentIndexChanged, this,
            [this] { fillRates(_rate->currentData().toInt()); });
    connect(_compression, &QComboBox::currentIndexChanged, this,
            [this] { updateDependentControls(); });
    connect(_monitor, &QSlider::valueChanged, this, [this] { updateMonitorText(); });
    fillRates(44100);
    updateMonitorText();
}

void SoundSettingsDialog::setDevices(const QStringList& names) {
    const QString current = _device->currentData().toString();
    QSignalBlocker block(_device);
    while (_device->count() > 1)
        _device->removeItem(1);
    for (const QString& name : names)
        _device->addItem(name, name);
    selectData(_device, current);
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
    selectData(_device, s.inputDevice);
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
