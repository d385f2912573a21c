// The recorder's sound settings: the dialog, the settings kept in the preferences, the input
// and its gain.
#include "recording/QKRecorder.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"

#include <QApplication>

int32_t QKRecorder::showSoundSettings() {
    if (_previewing || _recording || _listening)
        return -1;
    if (!_seqGrabber)
        return GrabberErr::badComponent;
    if (_userDataSaved) {
        const OSErr err = _seqGrabber->setChannelSettings(_data);
        if (err != GrabberErr::noErr)
            bvLog(QStringLiteral("error: %1 - couldn't restore channel settings").arg(err));
    }
    const OSErr dialog = _seqGrabber->settingsDialog(QApplication::activeWindow());
    if (dialog != GrabberErr::noErr && dialog != GrabberErr::userCanceled)
        bvLog(QStringLiteral("error: %1 - problem with settings dialog").arg(dialog));

    ChannelSettings captured;
    const OSErr err = _seqGrabber->getChannelSettings(&captured);
    if (err != GrabberErr::noErr) {
        bvLog(QStringLiteral("error: %1 - couldn't save channel settings").arg(err));
        return err;
    }
    _data = captured;
    _userDataSaved = true;
    return 0;
}

QByteArray QKRecorder::currentSoundSettings() {
    return convertUserDataToNSData();
}

void QKRecorder::setCurrentSoundSettings(const QByteArray& data) {
    if (data.isNull())
        return;
    writeNSDataToUserData(data);
}

QByteArray QKRecorder::convertUserDataToNSData() {
    if (!_userDataSaved && _seqGrabber) {
        ChannelSettings captured;
        if (_seqGrabber->getChannelSettings(&captured) == GrabberErr::noErr) {
            _data = captured;
            _userDataSaved = true;
        }
    }
    if (!_userDataSaved)
        return {};
    QByteArray bytes;
    if (PutUserDataIntoHandle(_data, &bytes) != GrabberErr::noErr || bytes.isNull())
        return {};
    return bytes;
}

void QKRecorder::writeNSDataToUserData(const QByteArray& data) {
    ChannelSettings imported;
    const OSErr err = NewUserDataFromHandle(data, &imported);
    if (err != GrabberErr::noErr) {
        // Bytes we did not write (another version, a damaged store) are ignored:
        // the channel keeps the settings it has.
        bvLog(QStringLiteral("error: %1 - couldn't read channel settings").arg(err));
        return;
    }
    _data = imported;
    _userDataSaved = true;
    // Saved settings take effect now: a channel left on the default input while the dialog
    // shows the user's choice records from the wrong device.
    applySavedSettings();
}

void QKRecorder::applySavedSettings() {
    if (!_seqGrabber || !_userDataSaved)
        return;
    if (_previewing || _recording || _listening) {
        _settingsPending = true;
        return;
    }
    _settingsPending = false;
    const OSErr err = _seqGrabber->setChannelSettings(_data);
    if (err != GrabberErr::noErr) {
        bvLog(QStringLiteral("error: %1 - couldn't restore channel settings").arg(err));
        return;
    }
    const QString missing = _seqGrabber->missingInputDevice();
    if (!missing.isEmpty())
        bvLog(QStringLiteral("input device \"%1\" is not present; recording from the default input")
                  .arg(missing));
}

QString QKRecorder::missingInputDevice() const {
    return _seqGrabber ? _seqGrabber->missingInputDevice() : QString();
}

std::optional<double> QKRecorder::inputGain() {
    return _seqGrabber ? _seqGrabber->inputGain() : std::nullopt;
}

OSErr QKRecorder::setInputGain(double gain) {
    return _seqGrabber ? _seqGrabber->setInputGain(gain) : GrabberErr::badComponent;
}
