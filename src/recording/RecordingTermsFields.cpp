#include "recording/RecordingTermsFields.h"

#include "platform/foundation/LocalizedString.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {
void describe(QWidget* widget, const char* nameKey, const char* helpKey) {
    widget->setAccessibleName(BVLocalizedString(nameKey));
    widget->setAccessibleDescription(BVLocalizedString(helpKey));
    widget->setToolTip(BVLocalizedString(helpKey));
}
} // namespace

RecordingTermsFields::RecordingTermsFields(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    _startBox = new QCheckBox(BVLocalizedString("StartAtBox"), this);
    describe(_startBox, "StartAtBox", "StartAtBoxHelp");
    _startField = new QDateTimeEdit(this);
    _startField->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    _startField->setCalendarPopup(true);
    describe(_startField, "StartAtField", "StartAtFieldHelp");
    layout->addWidget(_startBox);
    layout->addWidget(_startField);

    _voiceBox = new QCheckBox(BVLocalizedString("VoiceBox"), this);
    describe(_voiceBox, "VoiceBox", "VoiceBoxHelp");
    layout->addWidget(_voiceBox);
    auto* voice = new QFormLayout;
    _threshold = new QSpinBox(this);
    _threshold->setRange(int(VoiceActivation::kLowestThresholdDb), 0);
    _threshold->setSuffix(QStringLiteral(" dBFS"));
    describe(_threshold, "VoiceThresholdField", "VoiceThresholdFieldHelp");
    _silence = new QDoubleSpinBox(this);
    _silence->setRange(VoiceActivation::kShortestSilenceSeconds,
                       VoiceActivation::kLongestSilenceSeconds);
    _silence->setDecimals(1);
    _silence->setSuffix(QStringLiteral(" s"));
    describe(_silence, "VoiceSilenceField", "VoiceSilenceFieldHelp");
    _afterSilence = new QComboBox(this);
    _afterSilence->addItem(BVLocalizedString("VoiceThenStop"),
                           int(VoiceActivation::AfterSilence::Stop));
    _afterSilence->addItem(BVLocalizedString("VoiceThenPause"),
                           int(VoiceActivation::AfterSilence::Pause));
    describe(_afterSilence, "VoiceAfterSilenceMenu", "VoiceAfterSilenceMenuHelp");
    _preRoll = new QDoubleSpinBox(this);
    _preRoll->setRange(0, VoiceActivation::kLongestPreRollSeconds);
    _preRoll->setDecimals(1);
    _preRoll->setSingleStep(0.1);
    _preRoll->setSuffix(QStringLiteral(" s"));
    describe(_preRoll, "VoicePreRollField", "VoicePreRollFieldHelp");
    voice->addRow(BVLocalizedString("VoiceThresholdField"), _threshold);
    voice->addRow(BVLocalizedString("VoiceSilenceField"), _silence);
    voice->addRow(BVLocalizedString("VoiceAfterSilenceMenu"), _afterSilence);
    voice->addRow(BVLocalizedString("VoicePreRollField"), _preRoll);
    layout->addLayout(voice);

    connect(_startBox, &QCheckBox::toggled, this, &RecordingTermsFields::followBoxes);
    connect(_voiceBox, &QCheckBox::toggled, this, &RecordingTermsFields::followBoxes);
    // Recording at a set moment and on sound do not mix: choosing one clears the other.
    connect(_startBox, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            _voiceBox->setChecked(false);
    });
    connect(_voiceBox, &QCheckBox::clicked, this, [this](bool on) {
        if (on)
            _startBox->setChecked(false);
    });
    followBoxes();
}

void RecordingTermsFields::showState(const std::optional<RecordingSchedule::Plan>& plan,
                                     const VoiceActivation::Settings& voice, const QDateTime& now) {
    _startBox->setChecked(plan.has_value());
    const QDateTime nextHour(now.date(), QTime(now.time().hour(), 0));
    _startField->setDateTime(plan ? plan->start : nextHour.addSecs(3600));
    _voiceBox->setChecked(voice.enabled);
    _threshold->setValue(int(std::lround(voice.thresholdDb)));
    _silence->setValue(voice.silenceSeconds);
    _afterSilence->setCurrentIndex(_afterSilence->findData(int(voice.afterSilence)));
    _preRoll->setValue(voice.preRollSeconds);
    followBoxes();
}

std::optional<QDateTime> RecordingTermsFields::start() const {
    if (!_startBox->isChecked())
        return std::nullopt;
    return _startField->dateTime();
}

VoiceActivation::Settings RecordingTermsFields::voiceSettings() const {
    VoiceActivation::Settings s;
    s.enabled = _voiceBox->isChecked();
    s.thresholdDb = _threshold->value();
    s.silenceSeconds = _silence->value();
    s.afterSilence = VoiceActivation::AfterSilence(_afterSilence->currentData().toInt());
    s.preRollSeconds = _preRoll->value();
    return s;
}

void RecordingTermsFields::followBoxes() {
    _startField->setEnabled(_startBox->isChecked());
    for (QWidget* field : {static_cast<QWidget*>(_threshold), static_cast<QWidget*>(_silence),
                           static_cast<QWidget*>(_afterSilence), static_cast<QWidget*>(_preRoll)})
        field->setEnabled(_voiceBox->isChecked());
}
