#include "app/BVController.h"

#include "library/LibraryListing.h"

#include "platform/audio/SequenceGrabber.h"
#include "platform/foundation/Defaults.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "recording/QKRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>

namespace {
QString textOrDefault(const Defaults& store, const QString& key) {
    const QString text = store.stringForKey(key);
    return text.isNull() ? QStringLiteral("00") : text;
}

QString describeData(const QByteArray& data) {
    return QStringLiteral("<%1>").arg(QString::fromLatin1(data.toHex()));
}
} // namespace

void BVController::PrefSaveAction(QObject*) {
    Defaults& store = Defaults::standard();
    // Without settings to store, the ones stored earlier stay.
    if (_recorder) {
        const QByteArray settings = _recorder->currentSoundSettings();
        if (!settings.isNull())
            store.setObject(settings, QStringLiteral("AudioSettings"));
    }
    store.setInteger(_timerCheckBox && _timerCheckBox->isChecked() ? 1 : 0,
                     QStringLiteral("TimerToggle"));
    store.setObject(_hourField ? _hourField->text() : QString(), QStringLiteral("HourField"));
    store.setObject(_minuteField ? _minuteField->text() : QString(), QStringLiteral("MinuteField"));
    store.setObject(_secondField ? _secondField->text() : QString(), QStringLiteral("SecondField"));
    // A folder given for this run only is not stored.
    if (_libraryFolderOverride.isEmpty() || pathToLibraryFolder() != _libraryFolderOverride)
        store.setObject(pathToLibraryFolder(), sPreferencesKeyLibraryLocation);
    store.setObject(_iTunesPlaylistName ? _iTunesPlaylistName->text() : QString(),
                    sPreferencesKeyPlaylistName);
    store.setInteger(_encodingSelectionMenu ? _encodingSelectionMenu->currentIndex() : -1,
                     sPreferencesKeyiTunesEncoding);
}

void BVController::tellAboutMissingInput() {
    const QString missing = _recorder ? _recorder->missingInputDevice() : QString();
    if (missing.isEmpty())
        return;
    const QString fallback = DefaultInputDeviceName();
    // It stays in view: recordings go to another input until the user chooses again.
    tellUser(fallback.isEmpty()
                 ? BVLocalizedString("InputMissingUsingDefault").arg(missing)
                 : BVLocalizedString("InputMissingUsingFallback").arg(missing, fallback),
             {SoundInputProblem, UserProblem::Remedy::OpenSoundSettings,
              UserProblem::Weight::Information});
}

void BVController::PrefRestore(QObject*) {
    Defaults& store = Defaults::standard();
    if (!store.problem().isEmpty())
        tellUser(BVLocalizedString("SettingsForThisRunOnly").arg(store.problem()));

    QString library = _libraryFolderOverride.isEmpty()
                          ? store.stringForKey(sPreferencesKeyLibraryLocation)
                          : _libraryFolderOverride;
    if (library.isEmpty())
        library = defaultLibraryFolder();
    setDataDirectory(library);
    syncLibraryLocationToPreferencesWindow();

    if (_iTunesPlaylistName)
        _iTunesPlaylistName->setText(store.stringForKey(sPreferencesKeyPlaylistName));

    const QVariant settings = store.objectForKey(QStringLiteral("AudioSettings"));
    if (settings.isValid()) {
        const QByteArray bytes = store.dataForKey(QStringLiteral("AudioSettings"));
        bvLog(QStringLiteral("settings read from UserDefaults: %1").arg(describeData(bytes)));
        if (_recorder) {
            _recorder->setCurrentSoundSettings(bytes);
            tellAboutMissingInput();
        }
    }
    showInputGain();

    if (_hourField)
        _hourField->setText(textOrDefault(store, QStringLiteral("HourField")));
    if (_minuteField)
        _minuteField->setText(textOrDefault(store, QStringLiteral("MinuteField")));
    if (_secondField)
        _secondField->setText(textOrDefault(store, QStringLiteral("SecondField")));
    restoreTimer(store.boolForKey(QStringLiteral("TimerToggle")));

    if (_encodingSelectionMenu) {
        const qint64 index = store.hasStoredValue(sPreferencesKeyiTunesEncoding)
                                 ? store.integerForKey(sPreferencesKeyiTunesEncoding)
                                 : 0;
        // An index the pop-up no longer has (encoders come and go) leaves it without a selection.
        const bool inRange = index >= 0 && index < _encodingSelectionMenu->count();
        _encodingSelectionMenu->setCurrentIndex(inRange ? static_cast<int>(index) : -1);
    }
}

void BVController::setPlaylistName(QObject*) {
    bvLog(QStringLiteral("playlist name has been changed..."));
}
