// The input's gain on the sound server: the slider of the recording area, and scripts.
#include "app/BVController.h"

#include "platform/foundation/LocalizedString.h"
#include "recording/QKRecorder.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <cmath>

namespace {
int percentOf(double gain) {
    return int(std::lround(gain * 100));
}
} // namespace

std::optional<double> BVController::inputGain() {
    return _recorder ? _recorder->inputGain() : std::nullopt;
}

QString BVController::setInputGainTo(double gain) {
    if (!_recorder)
        return tr("Recording is not possible: no sound input could be set up.");
    switch (_recorder->setInputGain(gain)) {
    case GrabberErr::noErr:
        showInputGain();
        return {};
    case GrabberErr::paramErr:
        return BVLocalizedString("InputGainOutOfRange").arg(percentOf(kMaxInputGain));
    case GrabberErr::noGainControl:
        return BVLocalizedString("InputGainUnavailable");
    default:
        return BVLocalizedString("InputGainRefused");
    }
}

void BVController::setInputGain(QObject*) {
    if (!_inputGainSlider)
        return;
    const QString refusal = setInputGainTo(_inputGainSlider->value() / 100.0);
    if (!refusal.isEmpty()) {
        tellUser(refusal);
        showInputGain();
    }
}

void BVController::showInputGain() {
    if (!_inputGainSlider)
        return;
    const std::optional<double> gain = inputGain();
    // Dragging wins over what the server says meanwhile.
    if (!_inputGainSlider->isSliderDown()) {
        const QSignalBlocker block(_inputGainSlider);
        _inputGainSlider->setValue(gain ? percentOf(*gain) : 100);
    }
    _inputGainSlider->setEnabled(gain.has_value());
    const QString text = gain ? QStringLiteral("%1 %").arg(_inputGainSlider->value())
                              : BVLocalizedString("InputGainNotAdjustable");
    _inputGainSlider->setAccessibleDescription(text);
    _inputGainSlider->setToolTip(gain ? BVLocalizedString("InputGainTip") : text);
    if (_inputGainText)
        _inputGainText->setText(gain ? text : QStringLiteral("–"));
}
