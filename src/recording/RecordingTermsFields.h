#pragma once

#include "recording/RecordingSchedule.h"
#include "recording/VoiceActivation.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QDoubleSpinBox;
class QSpinBox;

// The timer sheet's part for recording on the user's terms: a start at a set moment (the
// timer's length, when on, ends it) and voice activation with its settings.
class RecordingTermsFields : public QWidget {
    Q_OBJECT

public:
    explicit RecordingTermsFields(QWidget* parent = nullptr);

    // Shows what is in force; a new start is offered at the next full hour.
    void showState(const std::optional<RecordingSchedule::Plan>& plan,
                   const VoiceActivation::Settings& voice, const QDateTime& now);

    // The start asked for, or none (the box is off).
    std::optional<QDateTime> start() const;
    VoiceActivation::Settings voiceSettings() const;

    QCheckBox* startBox() const { return _startBox; }
    QDateTimeEdit* startField() const { return _startField; }
    QCheckBox* voiceBox() const { return _voiceBox; }
    QSpinBox* thresholdField() const { return _threshold; }
    QDoubleSpinBox* silenceField() const { return _silence; }
    QComboBox* afterSilenceMenu() const { return _afterSilence; }
    QDoubleSpinBox* preRollField() const { return _preRoll; }

private:
    void followBoxes();

    QCheckBox* _startBox = nullptr;
    QDateTimeEdit* _startField = nullptr;
    QCheckBox* _voiceBox = nullptr;
    QSpinBox* _threshold = nullptr;
    QDoubleSpinBox* _silence = nullptr;
    QComboBox* _afterSilence = nullptr;
    QDoubleSpinBox* _preRoll = nullptr;
};
