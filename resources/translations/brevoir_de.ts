<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Localizable</name>
    <message>
        <source>SavedTimerUnusable</source>
        <translation>Der gespeicherte Timer (%1) ist ungültig und daher ausgeschaltet. Stellen Sie ihn unter „Timer“ neu ein.</translation>
    </message>
    <message>
        <source>StartAtBox</source>
        <translation>Aufnahme beginnen um</translation>
    </message>
    <message>
        <source>StartAtBoxHelp</source>
        <translation>Brevoir wartet und beginnt die Aufnahme zum unten gewählten Zeitpunkt; der Timer beendet sie, wenn er eingeschaltet ist.</translation>
    </message>
    <message>
        <source>StartAtField</source>
        <translation>Startzeit</translation>
    </message>
    <message>
        <source>StartAtFieldHelp</source>
        <translation>Datum und Uhrzeit, zu denen die Aufnahme beginnt.</translation>
    </message>
    <message>
        <source>VoiceBox</source>
        <translation>Aufnehmen, wenn Ton da ist</translation>
    </message>
    <message>
        <source>VoiceBoxHelp</source>
        <translation>Ton über der Schwelle startet eine Aufnahme; die eingestellte Stille beendet oder pausiert sie.</translation>
    </message>
    <message>
        <source>VoiceThresholdField</source>
        <translation>Schwelle</translation>
    </message>
    <message>
        <source>VoiceThresholdFieldHelp</source>
        <translation>Der Pegel, der als Ton zählt, in dB unter Vollaussteuerung.</translation>
    </message>
    <message>
        <source>VoiceSilenceField</source>
        <translation>Stille</translation>
    </message>
    <message>
        <source>VoiceSilenceFieldHelp</source>
        <translation>Wie lange es still sein muss, bevor die Aufnahme endet oder pausiert.</translation>
    </message>
    <message>
        <source>VoiceAfterSilenceMenu</source>
        <translation>Nach der Stille</translation>
    </message>
    <message>
        <source>VoiceAfterSilenceMenuHelp</source>
        <translation>Aufnahme beenden (der nächste Ton beginnt eine neue) oder pausieren (der nächste Ton setzt sie fort).</translation>
    </message>
    <message>
        <source>VoiceThenStop</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>VoiceThenPause</source>
        <translation>Pausieren</translation>
    </message>
    <message>
        <source>VoicePreRollField</source>
        <translation>Davor behalten</translation>
    </message>
    <message>
        <source>VoicePreRollFieldHelp</source>
        <translation>Wie viel Ton vor dem Auslöser die Aufnahme enthält, damit keine erste Silbe fehlt.</translation>
    </message>
    <message>
        <source>InsertTimeStamp</source>
        <translation>Zeitmarke einfügen</translation>
    </message>
    <message>
        <source>TimeStampNeedsAPlace</source>
        <translation>Eine Zeitmarke markiert eine Stelle in einer Aufnahme: Nehmen Sie zuerst auf oder spielen Sie etwas ab.</translation>
    </message>
    <message>
        <source>MarkNeedsARecording</source>
        <translation>es läuft keine Aufnahme</translation>
    </message>
    <message>
        <source>CloseWhileRecordingTitle</source>
        <translation>Fenster schließen?</translation>
    </message>
    <message>
        <source>CloseWhileRecordingQuestion</source>
        <translation>Brevoir kann im Hintergrund weitermachen, mit „Stoppen“ griffbereit, oder jetzt anhalten und beenden.</translation>
    </message>
    <message>
        <source>KeepRecordingInBackground</source>
        <translation>Im Hintergrund weiter aufnehmen</translation>
    </message>
    <message>
        <source>KeepRecordingInBackgroundHelp</source>
        <translation>Schließt das Fenster; die Aufnahme läuft weiter, und der Desktop zeigt sie mit „Stoppen“.</translation>
    </message>
    <message>
        <source>StopAndQuit</source>
        <translation>Anhalten und beenden</translation>
    </message>
    <message>
        <source>StopAndQuitHelp</source>
        <translation>Beendet die Aufnahme, behält das Aufgenommene und beendet Brevoir.</translation>
    </message>
    <message>
        <source>BackgroundRecording</source>
        <translation>Nimmt „%1“ im Hintergrund auf.</translation>
    </message>
    <message>
        <source>BackgroundListening</source>
        <translation>Lauscht im Hintergrund: Eine Aufnahme beginnt, sobald Ton kommt.</translation>
    </message>
    <message>
        <source>BackgroundScheduled</source>
        <translation>Wartet im Hintergrund auf die geplante Aufnahme.</translation>
    </message>
    <message>
        <source>BackgroundStop</source>
        <translation>Stoppen</translation>
    </message>
    <message>
        <source>NoticeRecordingFinished</source>
        <translation>Aufnahme beendet</translation>
    </message>
    <message>
        <source>NoticeRecordingFailed</source>
        <translation>Aufnahme angehalten</translation>
    </message>
    <message>
        <source>NoticeRecordingBody</source>
        <translation>%1 (%2): %3</translation>
    </message>
    <message>
        <source>NoticeEndedByTimer</source>
        <translation>der Timer hat sie beendet.</translation>
    </message>
    <message>
        <source>NoticeEndedBySilence</source>
        <translation>sie endete nach der eingestellten Stille.</translation>
    </message>
    <message>
        <source>NoticeEndedByWriteError</source>
        <translation>die Datei konnte nicht geschrieben werden (ist das Volume voll?).</translation>
    </message>
    <message>
        <source>NoticeEndedByDeviceLost</source>
        <translation>das Eingabegerät ist nicht mehr da.</translation>
    </message>
    <message>
        <source>NoticeShow</source>
        <translation>Anzeigen</translation>
    </message>
    <message>
        <source>NoticePlay</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>NoticeSyncFinished</source>
        <translation>Synchronisierung beendet</translation>
    </message>
    <message>
        <source>NoticeSyncFailed</source>
        <translation>Synchronisierung fehlgeschlagen</translation>
    </message>
    <message>
        <source>ScheduleNeedsAStart</source>
        <translation>Geben Sie an, wann die Aufnahme beginnen soll.</translation>
    </message>
    <message>
        <source>ScheduleLengthOutOfRange</source>
        <translation>Die Dauer muss zwischen 0 und 9942 Stunden liegen.</translation>
    </message>
    <message>
        <source>ScheduleStartPassed</source>
        <translation>Die Startzeit %1 ist bereits vorbei.</translation>
    </message>
    <message>
        <source>ScheduleRefusedWhileListening</source>
        <translation>Die Sprachaktivierung ist eingeschaltet; schalten Sie sie aus, um eine Aufnahme zu planen.</translation>
    </message>
    <message>
        <source>ScheduleMissed</source>
        <translation>Die für %1 geplante Aufnahme hat nicht begonnen: Brevoir lief zu diesem Zeitpunkt nicht.</translation>
    </message>
    <message>
        <source>ScheduleFoundRecording</source>
        <translation>Die geplante Aufnahme hat nicht begonnen, weil bereits eine Aufnahme lief.</translation>
    </message>
    <message>
        <source>StateListening</source>
        <translation>Wartet auf Ton</translation>
    </message>
    <message>
        <source>StateScheduled</source>
        <translation>Geplant %1</translation>
    </message>
    <message>
        <source>VoiceThresholdOutOfRange</source>
        <translation>Die Schwelle muss zwischen −60 und 0 dBFS liegen.</translation>
    </message>
    <message>
        <source>VoiceSilenceOutOfRange</source>
        <translation>Die Stille muss zwischen 0,1 und 3600 Sekunden dauern.</translation>
    </message>
    <message>
        <source>VoicePreRollOutOfRange</source>
        <translation>Die vor dem Ton behaltene Zeit muss zwischen 0 und 3 Sekunden liegen.</translation>
    </message>
    <message>
        <source>VoiceUnknownSetting</source>
        <translation>Die Sprachaktivierung hat keine Einstellung „%1“.</translation>
    </message>
    <message>
        <source>VoiceSettingNotUnderstood</source>
        <translation>Der Wert von „%1“ wurde nicht verstanden.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileScheduled</source>
        <translation>Eine Aufnahme ist geplant; brechen Sie sie ab, um die Sprachaktivierung zu nutzen.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileMonitoring</source>
        <translation>Beenden Sie das Abhören des Eingangs, bevor Sie die Sprachaktivierung einschalten.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileRecording</source>
        <translation>Beenden Sie die laufende Aufnahme, bevor Sie die Sprachaktivierung einschalten.</translation>
    </message>
    <message>
        <source>VoiceCouldNotListen</source>
        <translation>Die Sprachaktivierung konnte den Eingang nicht abhören: %1</translation>
    </message>
    <message>
        <source>VoiceNotRestored</source>
        <translation>Die Sprachaktivierung ist diesmal aus: %1</translation>
    </message>
    <message>
        <source>RecoveredRecordings</source>
        <translation>%1 durch einen Absturz unterbrochene Aufnahmen wiederhergestellt: %2</translation>
    </message>
    <message>
        <source>RecoveredOneRecording</source>
        <translation>%1 durch einen Absturz unterbrochene Aufnahme wiederhergestellt: %2</translation>
    </message>
    <message>
        <source>DoesNotPlay</source>
        <translation>sie lässt sich nicht abspielen: %1</translation>
    </message>
    <message>
        <source>PlaysOtherLength</source>
        <translation>sie spielt nur %1 s der angegebenen %2 s</translation>
    </message>
    <message>
        <source>SettingsForThisRunOnly</source>
        <translation>%1 Einstellungen gelten nur für diese Sitzung.</translation>
    </message>
    <message>
        <source>NotRecoveredStillBroken</source>
        <translation>vervollständigt, aber %1</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Snip</source>
        <translation>Schnitt</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Synchronisieren</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>DeleteToolbar</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten …</translation>
    </message>
    <message>
        <source>DeleteDialog</source>
        <translation>Die ausgewählten Aufnahmen löschen?</translation>
    </message>
    <message>
        <source>CannotUndo</source>
        <translation>Jede Aufnahme wird zusammen mit ihrer Notiz gelöscht. Sie können dies in Brevoir nicht rückgängig machen.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>Privat</translation>
    </message>
    <message>
        <source>Business</source>
        <translation>Geschäftlich</translation>
    </message>
    <message>
        <source>Project1</source>
        <translation>Projekt1</translation>
    </message>
    <message>
        <source>Project2</source>
        <translation>Projekt2</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Leerraum</translation>
    </message>
    <message>
        <source>FlexibleSpace</source>
        <translation>Flexibler Leerraum</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Trennlinie</translation>
    </message>
    <message>
        <source>Customize</source>
        <translation>Anpassen</translation>
    </message>
    <message>
        <source>CustomizeToolbarMenu</source>
        <translation>Werkzeugleiste anpassen …</translation>
    </message>
    <message>
        <source>CustomizeToolbarTitle</source>
        <translation>Werkzeugleiste anpassen</translation>
    </message>
    <message>
        <source>CustomizeToolbarHint</source>
        <translation>Ziehen Sie Ihre bevorzugten Elemente in die Werkzeugleiste. Ziehen Sie ein Element aus der Werkzeugleiste heraus, um es zu entfernen.</translation>
    </message>
    <message>
        <source>RestoreDefaults</source>
        <translation>Standard wiederherstellen</translation>
    </message>
    <message>
        <source>EmptyLibraryHint</source>
        <translation>Noch keine Aufnahmen. Drücken Sie „Aufnahme“ oder Strg+R, um eine zu machen.</translation>
    </message>
    <message>
        <source>RemoveCategoryTitle</source>
        <translation>Kategorie entfernen</translation>
    </message>
    <message>
        <source>RemoveCategoryQuestionOne</source>
        <translation>„%1“ entfernen? Die Aufnahme darin kommt nach „%2“.</translation>
    </message>
    <message>
        <source>RemoveCategoryQuestionMany</source>
        <translation>„%1“ entfernen? Die %3 Aufnahmen darin kommen nach „%2“.</translation>
    </message>
    <message>
        <source>RemoveFirstCategoryQuestion</source>
        <translation>„%1“ entfernen? Aufnahmen darin (%2) behalten sie als Kategorie, sie wird aber nicht mehr angeboten.</translation>
    </message>
    <message>
        <source>RemoveCategoryButton</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Rec</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>MediaFileGone</source>
        <translation>die Datei ist nicht mehr da</translation>
    </message>
    <message>
        <source>MediaNoPermission</source>
        <translation>Sie dürfen diese Datei nicht lesen oder schreiben</translation>
    </message>
    <message>
        <source>MediaDiskFull</source>
        <translation>der Datenträger ist voll</translation>
    </message>
    <message>
        <source>MediaDiskError</source>
        <translation>der Datenträger konnte nicht gelesen oder beschrieben werden</translation>
    </message>
    <message>
        <source>MediaDamaged</source>
        <translation>die Datei ist beschädigt oder keine Tondatei</translation>
    </message>
    <message>
        <source>MediaCannotWriteKind</source>
        <translation>diese Art Tondatei kann hier nicht geschrieben werden</translation>
    </message>
    <message>
        <source>MediaOtherProblem</source>
        <translation>die Tonbibliothek konnte es nicht verarbeiten (%1)</translation>
    </message>
    <message>
        <source>NoteViewName</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>ElapsedTimeName</source>
        <translation>Vergangene Zeit</translation>
    </message>
    <message>
        <source>InputLevelName</source>
        <translation>Eingangspegel</translation>
    </message>
    <message>
        <source>RecorderStateName</source>
        <translation>Zustand der Aufnahme</translation>
    </message>
    <message>
        <source>SearchFieldName</source>
        <translation>Aufnahmen durchsuchen</translation>
    </message>
    <message>
        <source>RecordingsListName</source>
        <translation>Aufnahmen</translation>
    </message>
    <message>
        <source>RecordingsListDescription</source>
        <translation>Die Pfeiltasten wechseln zwischen Aufnahmen, Leertaste spielt ab, F2 benennt um.</translation>
    </message>
    <message>
        <source>PlayerName</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>RecordingGroupName</source>
        <translation>Aufnahme-Bedienelemente</translation>
    </message>
    <message>
        <source>PlaybackGroupName</source>
        <translation>Wiedergabe-Bedienelemente</translation>
    </message>
    <message>
        <source>HoursFieldName</source>
        <translation>Stunden</translation>
    </message>
    <message>
        <source>MinutesFieldName</source>
        <translation>Minuten</translation>
    </message>
    <message>
        <source>SecondsFieldName</source>
        <translation>Sekunden</translation>
    </message>
    <message>
        <source>PositionSliderName</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>PositionOfDuration</source>
        <translation>%1 von %2</translation>
    </message>
    <message>
        <source>NoteNeedsASelection</source>
        <translation>Wählen Sie eine Aufnahme, um eine Notiz dazu zu schreiben.</translation>
    </message>
    <message>
        <source>NoteNeedsOneSelection</source>
        <translation>%1 Aufnahmen sind ausgewählt. Wählen Sie nur eine, um ihre Notiz zu schreiben.</translation>
    </message>
    <message>
        <source>RemedyChooseFolder</source>
        <translation>Anderen Ordner wählen …</translation>
    </message>
    <message>
        <source>RemedySoundSettings</source>
        <translation>Toneinstellungen öffnen …</translation>
    </message>
    <message>
        <source>RemedyStopMonitoring</source>
        <translation>Mithören beenden und aufnehmen</translation>
    </message>
    <message>
        <source>MessageBarName</source>
        <translation>Meldung</translation>
    </message>
    <message>
        <source>MessageBarClose</source>
        <translation>Diese Meldung schließen</translation>
    </message>
    <message>
        <source>StateRecording</source>
        <translation>Aufnahme läuft</translation>
    </message>
    <message>
        <source>StatePaused</source>
        <translation>Pausiert</translation>
    </message>
    <message>
        <source>StateMonitoring</source>
        <translation>Mithören</translation>
    </message>
    <message>
        <source>MeterLevels</source>
        <translation>Links %1 %, rechts %2 %</translation>
    </message>
    <message>
        <source>CFBundleName</source>
        <translation>Brevoir</translation>
    </message>
    <message>
        <source>AboutTitle</source>
        <translation>Über %1</translation>
    </message>
    <message>
        <source>VersionFormat</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>NSHumanReadableCopyright</source>
        <translation>Copyright © 2026 Die Brevoir-Entwickler.</translation>
    </message>
    <message>
        <source>SyncBeginning</source>
        <translation>Synchronisation wird vorbereitet …</translation>
    </message>
    <message>
        <source>SyncConfigure</source>
        <translation>Wiedergabeliste wird eingerichtet:</translation>
    </message>
    <message>
        <source>SyncRetrieving</source>
        <translation>Titel der Wiedergabeliste werden gelesen …</translation>
    </message>
    <message>
        <source>SyncCopying</source>
        <translation>Kopiere %1 von %2: %3</translation>
    </message>
    <message>
        <source>SyncConverting</source>
        <translation>Konvertiere %1 von %2: %3</translation>
    </message>
    <message>
        <source>SyncUnavailable</source>
        <translation>Synchronisieren ist nicht verfügbar: Es konnte keine Wiedergabelisten-Komponente geladen werden.</translation>
    </message>
    <message>
        <source>SyncRunning</source>
        <translation>Es läuft bereits eine Synchronisation.</translation>
    </message>
    <message>
        <source>SyncNoFiles</source>
        <translation>Es gibt keine Aufnahmen zum Synchronisieren.</translation>
    </message>
    <message>
        <source>SyncCancelled</source>
        <translation>Die Synchronisation wurde abgebrochen.</translation>
    </message>
    <message>
        <source>SyncingFiles</source>
        <translation>%1 Dateien werden synchronisiert.</translation>
    </message>
    <message>
        <source>SyncLeftOut</source>
        <translation>Nicht synchronisiert, da gerade aufgenommen; folgt bei der nächsten Synchronisation: %1</translation>
    </message>
    <message>
        <source>SyncFinished</source>
        <translation>Synchronisation abgeschlossen …</translation>
    </message>
    <message>
        <source>SyncMenuItem</source>
        <translation>Mit Wiedergabeliste s&amp;ynchronisieren</translation>
    </message>
    <message>
        <source>PlaylistTooManyEntries</source>
        <translation>%1 enthält mehr als %2 Einträge; die Datei wurde so gelassen, wie sie ist.</translation>
    </message>
    <message>
        <source>PlaylistChanged</source>
        <translation>%1 wurde während der Synchronisation von einem anderen Programm geändert; es wurde nichts mehr hinzugefügt.</translation>
    </message>
    <message>
        <source>PlaylistFolderProtected</source>
        <translation>Die Wiedergabeliste „%1“ würde ihre Dateien in %2 ablegen; dieser Ordner ist %3, enthält ihn oder liegt darin. Wählen Sie einen anderen Namen für die Wiedergabeliste.</translation>
    </message>
    <message>
        <source>ImportFileShrank</source>
        <translation>sie wurde beim Kopieren kürzer</translation>
    </message>
    <message>
        <source>ImportBeingWritten</source>
        <translation>sie wird noch geschrieben</translation>
    </message>
    <message>
        <source>DecoderDamagedPartWay</source>
        <translation>ihr Ton ist mittendrin beschädigt</translation>
    </message>
    <message>
        <source>DecoderReadFailed</source>
        <translation>das Lesen schlug mittendrin fehl: %1</translation>
    </message>
    <message>
        <source>PositionSliderTip</source>
        <translation>Ziehen, um in der Aufnahme zu springen</translation>
    </message>
    <message>
        <source>CannotPlay</source>
        <translation>„%1“ kann nicht wiedergegeben werden: %2</translation>
    </message>
    <message>
        <source>SoundOutputUnavailable</source>
        <translation>Die Tonausgabe kann nicht geöffnet werden: %1</translation>
    </message>
    <message>
        <source>DecoderFormatUndecodable</source>
        <translation>ihr Ton liegt in einem Format vor, das nicht dekodiert werden kann</translation>
    </message>
    <message>
        <source>DecoderNoSound</source>
        <translation>sie enthält keinen Ton</translation>
    </message>
    <message>
        <source>OutOfMemory</source>
        <translation>nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>DecoderUnknownFormat</source>
        <translation>ihr Tonformat ist unbekannt</translation>
    </message>
    <message>
        <source>DecoderCannotDecode</source>
        <translation>ihr Ton kann nicht dekodiert werden</translation>
    </message>
    <message>
        <source>OutputFormatUnsupported</source>
        <translation>das Format der Tonausgabe wird nicht unterstützt</translation>
    </message>
    <message>
        <source>PlayerFileAlreadyOpen</source>
        <translation>es ist bereits eine Datei geöffnet</translation>
    </message>
    <message>
        <source>SoundOutputUnusable</source>
        <translation>die Tonausgabe kann nicht verwendet werden</translation>
    </message>
    <message>
        <source>NoSoundOutput</source>
        <translation>es gibt keine Tonausgabe</translation>
    </message>
    <message>
        <source>PlayerNoFileOpen</source>
        <translation>es ist keine Datei geöffnet</translation>
    </message>
    <message>
        <source>TrashFolderCannotBeMade</source>
        <translation>Der Papierkorb-Ordner %1 kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>TrashRefused</source>
        <translation>Der Papierkorb hat die Datei nicht angenommen.</translation>
    </message>
    <message>
        <source>TrashLeftInPlace</source>
        <translation>Die Datei liegt nach dem Verschieben in den Papierkorb noch in ihrem Ordner.</translation>
    </message>
    <message>
        <source>TrashMisplaced</source>
        <translation>Der Papierkorb hat die Datei außerhalb jedes Papierkorb-Ordners abgelegt.</translation>
    </message>
    <message>
        <source>FileNotRead</source>
        <translation>%1 konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>FileNotWritten</source>
        <translation>%1 konnte nicht geschrieben werden: %2. Die Datei blieb, wie sie war.</translation>
    </message>
    <message>
        <source>FileIsAFolder</source>
        <translation>%1 ist ein Ordner, keine Datei; er blieb unverändert.</translation>
    </message>
    <message>
        <source>FileIsALink</source>
        <translation>%1 ist eine Verknüpfung; sie blieb unverändert, und nichts wurde durch sie geschrieben.</translation>
    </message>
    <message>
        <source>FileIsSpecial</source>
        <translation>%1 ist eine Pipe, ein Gerät oder ein Socket, keine Datei; sie blieb unverändert.</translation>
    </message>
    <message>
        <source>FileLinksOutside</source>
        <translation>%1 führt über eine Verknüpfung aus %2 hinaus; sie wurde nicht gelesen.</translation>
    </message>
    <message>
        <source>FileTooLarge</source>
        <translation>%1 ist größer als %2 MB; sie wurde nicht gelesen.</translation>
    </message>
    <message>
        <source>DropAlreadyInLibrary</source>
        <translation>Bereits in der Bibliothek, unverändert gelassen: %1</translation>
    </message>
    <message>
        <source>DropCopyFailed</source>
        <translation>Konnten nicht kopiert werden: %1</translation>
    </message>
    <message>
        <source>DropSomeNotCopied</source>
        <translation>Einige Dateien wurden nicht in die Bibliothek kopiert.</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Fett</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Kursiv</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Unterstrichen</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
    <message>
        <source>FontSize</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>TextColourButton</source>
        <translation>Farbe …</translation>
    </message>
    <message>
        <source>AlignLeft</source>
        <translation>Linksbündig</translation>
    </message>
    <message>
        <source>AlignCentre</source>
        <translation>Zentriert</translation>
    </message>
    <message>
        <source>AlignRight</source>
        <translation>Rechtsbündig</translation>
    </message>
    <message>
        <source>AlignJustify</source>
        <translation>Blocksatz</translation>
    </message>
    <message>
        <source>BulletedList</source>
        <translation>Aufzählung</translation>
    </message>
    <message>
        <source>NumberedList</source>
        <translation>Nummerierte Liste</translation>
    </message>
    <message>
        <source>BoldShort</source>
        <translation>F</translation>
    </message>
    <message>
        <source>ItalicShort</source>
        <translation>K</translation>
    </message>
    <message>
        <source>UnderlineShort</source>
        <translation>U</translation>
    </message>
    <message>
        <source>ColourShort</source>
        <translation>A</translation>
    </message>
    <message>
        <source>TextColour</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>NotARecordingFileName</source>
        <translation>„%1“ ist nicht der Name einer Datei im Ordner „Recordings“.</translation>
    </message>
    <message>
        <source>NoRecordingNamed</source>
        <translation>Es gibt keine Aufnahme namens „%1“.</translation>
    </message>
    <message>
        <source>BeingRecorded</source>
        <translation>„%1“ wird gerade aufgenommen.</translation>
    </message>
    <message>
        <source>PlayingStopFirst</source>
        <translation>„%1“ wird gerade wiedergegeben; stoppen Sie zuerst die Wiedergabe.</translation>
    </message>
    <message>
        <source>NotDeleted</source>
        <translation>Nicht gelöscht: %1</translation>
    </message>
    <message>
        <source>CouldNotDeleteBecause</source>
        <translation>„%1“ konnte nicht gelöscht werden: %2</translation>
    </message>
    <message>
        <source>CouldNotDelete</source>
        <translation>„%1“ konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>DeleteOneQuestion</source>
        <translation>„%1“ löschen?</translation>
    </message>
    <message numerus="yes">
        <source>DeleteManyQuestion</source>
        <translation>
            <numerusform>%n Aufnahme löschen?</numerusform>
            <numerusform>%n Aufnahmen löschen?</numerusform>
        </translation>
    </message>
    <message>
        <source>NoteWouldBeShared</source>
        <translation>„%1“ würde sich die Notiz mit „%2“ teilen.</translation>
    </message>
    <message>
        <source>NoteInTheWay</source>
        <translation>Im Ordner „Notes“ liegt bereits %1, das ersetzt würde.</translation>
    </message>
    <message>
        <source>NoteCannotFollow</source>
        <translation>Die zugehörige Notiz %1 kann nicht mitziehen: %2</translation>
    </message>
    <message>
        <source>NoteLeftAt</source>
        <translation>Die Notiz konnte nicht zurückgelegt werden und heißt jetzt %1: %2</translation>
    </message>
    <message>
        <source>NotePicturesLeftOut</source>
        <translation>Die Notiz zu „%1“ hat mehr Bilder als die %2, die eine Notiz fassen kann; die übrigen wurden weggelassen.</translation>
    </message>
    <message>
        <source>NoteLoading</source>
        <translation>Die Notiz wird geladen …</translation>
    </message>
    <message>
        <source>NoteLeftUnread</source>
        <translation>die gespeicherte Notiz konnte nicht gelesen werden und bleibt daher unverändert.</translation>
    </message>
    <message>
        <source>NoteNotAFolder</source>
        <translation>%1 ist kein Notizordner; er blieb unverändert.</translation>
    </message>
    <message>
        <source>NoteFolderMissing</source>
        <translation>Der Ordner %1 existiert nicht.</translation>
    </message>
    <message>
        <source>NoteHasNoName</source>
        <translation>Für die Notiz wurde kein Name angegeben.</translation>
    </message>
    <message>
        <source>TrashNotWritable</source>
        <translation>In den Papierkorb %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>TrashFolderUnsafe</source>
        <translation>%1 ist kein eigener Papierkorb-Ordner (eine Verknüpfung oder der eines anderen Benutzers); er wird nicht benutzt.</translation>
    </message>
    <message>
        <source>NoTrashOnVolume</source>
        <translation>%1 kann nicht in den Papierkorb: Sein Datenträger hat keinen nutzbaren Papierkorb (%2)</translation>
    </message>
    <message>
        <source>TrashMoveFailed</source>
        <translation>%1 konnte nicht in den Papierkorb verschoben werden: %2</translation>
    </message>
    <message>
        <source>TrashNoFreeName</source>
        <translation>Im Papierkorb %1 ist kein Name für %2 mehr frei.</translation>
    </message>
    <message>
        <source>NotRenamedBecause</source>
        <translation>„%1“ wurde nicht umbenannt: %2</translation>
    </message>
    <message>
        <source>NotRenamed</source>
        <translation>Die Aufnahme wurde nicht umbenannt.</translation>
    </message>
    <message>
        <source>NoteNotSaved</source>
        <translation>Die Notiz zu „%1“ konnte nicht gespeichert werden: %2</translation>
    </message>
    <message>
        <source>ExportNote</source>
        <translation>Notiz exportieren</translation>
    </message>
    <message>
        <source>NoteNotExported</source>
        <translation>Die Notiz konnte nicht exportiert werden: %1</translation>
    </message>
    <message>
        <source>UnknownNoteFormat</source>
        <translation>Unbekanntes Notizformat „%1“: Verwenden Sie plain, markdown, html oder rtf.</translation>
    </message>
    <message>
        <source>NoteNotReadOf</source>
        <translation>Die Notiz zu „%1“ konnte nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>NoteNotRead</source>
        <translation>Die Notiz konnte nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>EmptyNoteNotStored</source>
        <translation>Eine leere Notiz wird nicht gespeichert; die Notiz bleibt, wie sie war.</translation>
    </message>
    <message>
        <source>FormatRtfd</source>
        <translation>Formatierter Text mit Anhängen (*.rtfd)</translation>
    </message>
    <message>
        <source>FormatRtf</source>
        <translation>Formatierter Text (*.rtf)</translation>
    </message>
    <message>
        <source>FormatOdt</source>
        <translation>OpenDocument-Text (*.odt)</translation>
    </message>
    <message>
        <source>FormatHtml</source>
        <translation>Webseite (*.html *.htm)</translation>
    </message>
    <message>
        <source>FormatMarkdown</source>
        <translation>Markdown (*.md)</translation>
    </message>
    <message>
        <source>FormatPlain</source>
        <translation>Reiner Text (*.txt)</translation>
    </message>
    <message>
        <source>OdtNotMade</source>
        <translation>Die OpenDocument-Datei konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>NameColumn</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>CategoryColumn</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>DateColumn</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>SizeColumn</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>DurationColumn</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>NameEmpty</source>
        <translation>Eine Aufnahme braucht einen Namen.</translation>
    </message>
    <message>
        <source>NameHoldsNul</source>
        <translation>Ein Dateiname darf kein NUL-Zeichen enthalten.</translation>
    </message>
    <message>
        <source>NameHoldsControl</source>
        <translation>Ein Name darf kein Steuerzeichen (etwa einen Zeilenumbruch oder Tabulator) enthalten: die Bibliothek könnte ihn nicht speichern.</translation>
    </message>
    <message>
        <source>NameNotPlain</source>
        <translation>„%1“ kann kein Dateiname sein: Namen dürfen weder „.“ noch „..“ sein und kein „/“ enthalten.</translation>
    </message>
    <message>
        <source>NameTooLong</source>
        <translation>Der Name ist länger, als das Dateisystem erlaubt (%1 Bytes).</translation>
    </message>
    <message>
        <source>NameTaken</source>
        <translation>Es gibt bereits eine Datei namens „%1“.</translation>
    </message>
    <message>
        <source>CategoriesFileStuck</source>
        <translation>Die Kategoriendatei %1 kann weder gelesen (%2) noch beiseitegelegt werden; Kategorien werden in dieser Bibliothek nicht gespeichert.</translation>
    </message>
    <message>
        <source>CategoriesFileKeptAside</source>
        <translation>Die Kategoriendatei konnte nicht gelesen werden (%1); sie wurde als %2 aufbewahrt, und die Standardkategorien werden verwendet.</translation>
    </message>
    <message>
        <source>LastCategory</source>
        <translation>Die letzte Kategorie kann nicht entfernt werden.</translation>
    </message>
    <message>
        <source>LibraryNotOpen</source>
        <translation>Die Bibliothek ist noch nicht geöffnet.</translation>
    </message>
    <message>
        <source>CategoriesNotSaved</source>
        <translation>Die Kategorien konnten nicht gesichert werden: %1</translation>
    </message>
    <message>
        <source>CategoriesFileNotAFile</source>
        <translation>%1 Vorerst gelten die Standardkategorien, und Änderungen an Kategorien können in dieser Bibliothek nicht gesichert werden.</translation>
    </message>
    <message>
        <source>CategoryNameRefused</source>
        <translation>Die Kategorie wurde nicht umbenannt: Ein Kategoriename darf keine Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>NotACategory</source>
        <translation>„%1“ ist keine der Kategorien.</translation>
    </message>
    <message>
        <source>LibraryFolderUnusable</source>
        <translation>Der Bibliotheksordner kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>InputMissingUsingDefault</source>
        <translation>Der Eingang „%1“ ist nicht angeschlossen; bis er wieder da ist, wird vom Standardeingang aufgenommen.</translation>
    </message>
    <message>
        <source>InputMissingUsingFallback</source>
        <translation>Der Eingang „%1“ ist nicht angeschlossen; bis er wieder da ist, wird vom Standardeingang „%2“ aufgenommen.</translation>
    </message>
    <message>
        <source>SoundSettings</source>
        <translation>Toneinstellungen</translation>
    </message>
    <message>
        <source>ExportRecordingPanel</source>
        <translation>Aufnahmen in einen Ordner exportieren</translation>
    </message>
    <message>
        <source>ExportRecordingFormat</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>ExportingRecording</source>
        <translation>„%1“ wird exportiert (%2 von %3) …</translation>
    </message>
    <message>
        <source>ExportFailed</source>
        <translation>„%1“ wurde nicht exportiert: %2</translation>
    </message>
    <message>
        <source>ExportUnknownExtension</source>
        <translation>„%1“ hat keine Endung, in die Brevoir exportiert; verwenden Sie eine von %2.</translation>
    </message>
    <message>
        <source>ExportNoFolder</source>
        <translation>Der Ordner „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>ExportFileExists</source>
        <translation>„%1“ existiert bereits; Brevoir ersetzt die Datei nicht.</translation>
    </message>
    <message>
        <source>ExportRunning</source>
        <translation>Es läuft bereits ein Export.</translation>
    </message>
    <message>
        <source>ExportNothingSelected</source>
        <translation>Wählen Sie zuerst die Aufnahmen aus, die exportiert werden sollen.</translation>
    </message>
    <message>
        <source>ExportNoFormats</source>
        <translation>Das installierte FFmpeg bietet keines der Formate, in die Brevoir exportiert.</translation>
    </message>
    <message>
        <source>ImportNameTaken</source>
        <translation>„%1“ existiert bereits.</translation>
    </message>
    <message>
        <source>WaveformName</source>
        <translation>Wellenform</translation>
    </message>
    <message>
        <source>WaveformDescription</source>
        <translation>Die Wellenform der Aufnahme mit der Wiedergabeposition; klicken, um von dort abzuspielen</translation>
    </message>
    <message>
        <source>WaveformTip</source>
        <translation>Klicken oder ziehen, um an diese Stelle zu gehen; Links und Rechts springen 5 Sekunden (mit Umschalt 30)</translation>
    </message>
    <message>
        <source>LevelHistoryName</source>
        <translation>Pegelverlauf</translation>
    </message>
    <message>
        <source>LevelHistoryTip</source>
        <translation>Die Eingangspegel der letzten Minute (Spitze und RMS, in dBFS); klicken, um die Übersteuerungsmarke zu löschen</translation>
    </message>
    <message>
        <source>LevelHistoryDescription</source>
        <translation>Die Eingangspegel der letzten Minute; keine Übersteuerung</translation>
    </message>
    <message>
        <source>LevelHistoryClipped</source>
        <translation>Der Eingang war übersteuert: Ein Sample hat den Vollausschlag erreicht. Leertaste löscht die Marke.</translation>
    </message>
    <message>
        <source>LevelHistoryClip</source>
        <translation>ÜBERSTEUERT</translation>
    </message>
    <message>
        <source>InputGainLabel</source>
        <translation>Eingangsverstärkung:</translation>
    </message>
    <message>
        <source>InputGainName</source>
        <translation>Eingangsverstärkung</translation>
    </message>
    <message>
        <source>InputGainTip</source>
        <translation>Die Lautstärke des Eingangs auf dem Soundserver, wie sie auch der Mixer des Desktops zeigt</translation>
    </message>
    <message>
        <source>InputGainNotAdjustable</source>
        <translation>Die Verstärkung dieses Eingangs lässt sich hier nicht einstellen</translation>
    </message>
    <message>
        <source>InputGainOutOfRange</source>
        <translation>Die Eingangsverstärkung muss zwischen 0 und %1 % liegen.</translation>
    </message>
    <message>
        <source>InputGainUnavailable</source>
        <translation>Der gewählte Eingang hat keine Verstärkung, die der Soundserver steuert.</translation>
    </message>
    <message>
        <source>InputGainRefused</source>
        <translation>Der Soundserver hat die neue Eingangsverstärkung nicht übernommen.</translation>
    </message>
    <message>
        <source>InputLevelLabel</source>
        <translation>Pegel:</translation>
    </message>
    <message>
        <source>InputLevelUnavailable</source>
        <translation>Der Pegel des Eingangs lässt sich nicht messen</translation>
    </message>
    <message>
        <source>MonitorOfOutput</source>
        <translation>Monitor von %1</translation>
    </message>
    <message>
        <source>SoundServerFallback</source>
        <translation>Der Soundserver hat nicht geantwortet (%1): Es wird stattdessen direkt von „%2“ aufgenommen.</translation>
    </message>
    <message>
        <source>DefaultInput</source>
        <translation>Standardeingang</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>SampleSize16</source>
        <translation>16 Bit</translation>
    </message>
    <message>
        <source>SampleSize24</source>
        <translation>24 Bit</translation>
    </message>
    <message>
        <source>NoCompression</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>CompressionIma4</source>
        <translation>IMA 4:1</translation>
    </message>
    <message>
        <source>InputLabel</source>
        <translation>Eingang:</translation>
    </message>
    <message>
        <source>RateLabel</source>
        <translation>Abtastrate:</translation>
    </message>
    <message>
        <source>ChannelsLabel</source>
        <translation>Kanäle:</translation>
    </message>
    <message>
        <source>SampleSizeLabel</source>
        <translation>Bittiefe:</translation>
    </message>
    <message>
        <source>CompressionLabel</source>
        <translation>Kompression:</translation>
    </message>
    <message>
        <source>PlaythroughLabel</source>
        <translation>Mithören:</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>SampleRateHz</source>
        <translation>%1 Hz</translation>
    </message>
    <message numerus="yes">
        <source>CopyingIntoLibrary</source>
        <translation>
            <numerusform>%n Aufnahme wird in die Bibliothek kopiert …</numerusform>
            <numerusform>%n Aufnahmen werden in die Bibliothek kopiert …</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording stopped: the file could not be written (%1).</source>
        <translation>Aufnahme beendet: Die Datei konnte nicht geschrieben werden (%1).</translation>
    </message>
    <message>
        <source>Recording stopped: the sound input went away. What was recorded until then is kept.</source>
        <translation>Aufnahme beendet: Der Toneingang ist verschwunden. Was bis dahin aufgenommen wurde, bleibt erhalten.</translation>
    </message>
    <message>
        <source>Sound was lost while recording: %1 block(s) dropped so far because the disk could not keep up.</source>
        <translation>Beim Aufnehmen ging Ton verloren: Bisher wurden %1 Block/Blöcke verworfen, weil der Datenträger nicht mithalten konnte.</translation>
    </message>
    <message>
        <source>Hours, minutes and seconds cannot be negative.</source>
        <translation>Stunden, Minuten und Sekunden dürfen nicht negativ sein.</translation>
    </message>
    <message>
        <source>The timer can be at most 9942 hours, 3 minutes and 14 seconds.</source>
        <translation>Der Timer kann höchstens 9942 Stunden, 3 Minuten und 14 Sekunden betragen.</translation>
    </message>
    <message>
        <source>PlaylistNeedsName</source>
        <translation>Die Wiedergabeliste braucht einen Namen.</translation>
    </message>
    <message>
        <source>PlaylistNameInvalid</source>
        <translation>„%1“ kann nicht der Name einer Wiedergabeliste sein.</translation>
    </message>
    <message>
        <source>PlaylistNameSlash</source>
        <translation>Der Name einer Wiedergabeliste darf kein „/“ enthalten.</translation>
    </message>
    <message>
        <source>PlaylistNameControl</source>
        <translation>Der Name einer Wiedergabeliste darf keine Zeilenumbrüche oder Steuerzeichen enthalten.</translation>
    </message>
    <message>
        <source>PlaylistNameTooLong</source>
        <translation>Der Name der Wiedergabeliste ist zu lang.</translation>
    </message>
    <message>
        <source>PlaylistNotWritten</source>
        <translation>Die Wiedergabeliste %1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>EncoderNotInstalled</source>
        <translation>Kein Encoder „%1“ ist installiert.</translation>
    </message>
    <message>
        <source>EncoderOutOfMemory</source>
        <translation>nicht genug Speicher</translation>
    </message>
    <message>
        <source>EncoderNoSound</source>
        <translation>sie enthält keinen Ton</translation>
    </message>
    <message>
        <source>ImportFolderNotMade</source>
        <translation>Der Ordner %1 konnte nicht angelegt werden.</translation>
    </message>
    <message>
        <source>ImportNotImported</source>
        <translation>Nicht importiert: %1</translation>
    </message>
    <message>
        <source>ImportLineBreak</source>
        <translation>sein Name enthält einen Zeilenumbruch</translation>
    </message>
    <message>
        <source>ImportTooManyNames</source>
        <translation>zu viele Dateien dieses Namens</translation>
    </message>
    <message>
        <source>ImportCancelled</source>
        <translation>abgebrochen</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Brevoir</source>
        <translation>Brevoir</translation>
    </message>
    <message>
        <source>Elapsed time</source>
        <translation>Verstrichene Zeit</translation>
    </message>
    <message>
        <source>Input level</source>
        <translation>Eingangspegel</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>A note about the selected recording</source>
        <translation>Eine Notiz zur ausgewählten Aufnahme</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Aufnahme</translation>
    </message>
    <message>
        <source>Start or stop a recording</source>
        <translation>Eine Aufnahme starten oder beenden</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Aufnehmen</translation>
    </message>
    <message>
        <source>Pause or resume the recording</source>
        <translation>Die Aufnahme anhalten oder fortsetzen</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>End this recording and start the next at once</source>
        <translation>Diese Aufnahme beenden und sofort die nächste beginnen</translation>
    </message>
    <message>
        <source>Snip</source>
        <translation>Schnitt</translation>
    </message>
    <message>
        <source>Listen to the input and watch its level</source>
        <translation>Den Eingang abhören und seinen Pegel sehen</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Mithören</translation>
    </message>
    <message>
        <source>Stop recordings after a set time</source>
        <translation>Aufnahmen nach einer festgelegten Zeit beenden</translation>
    </message>
    <message>
        <source>Timer…</source>
        <translation>Timer …</translation>
    </message>
    <message>
        <source>Input device, rate, channels and format</source>
        <translation>Eingabegerät, Abtastrate, Kanäle und Format</translation>
    </message>
    <message>
        <source>Sound…</source>
        <translation>Ton …</translation>
    </message>
    <message>
        <source>Input gain</source>
        <translation>Verstärkung</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Play or pause the selected recording</source>
        <translation>Die ausgewählte Aufnahme abspielen oder anhalten</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Stop playing</source>
        <translation>Wiedergabe beenden</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>&amp;Kategorien</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Recording</source>
        <translation>Au&amp;fnahme</translation>
    </message>
    <message>
        <source>&amp;Playback</source>
        <translation>&amp;Wiedergabe</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Export Note…</source>
        <translation>Notiz &amp;exportieren …</translation>
    </message>
    <message>
        <source>E&amp;xport Recording…</source>
        <translation>Aufnahme e&amp;xportieren …</translation>
    </message>
    <message>
        <source>Show in File &amp;Manager</source>
        <translation>Im Datei&amp;manager zeigen</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>&amp;Delete…</source>
        <translation>&amp;Löschen …</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles &amp;markieren</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>&amp;Suchen …</translation>
    </message>
    <message>
        <source>Pr&amp;eferences…</source>
        <translation>Einstellu&amp;ngen …</translation>
    </message>
    <message>
        <source>Show &amp;Toolbar</source>
        <translation>Werkzeugleiste &amp;zeigen</translation>
    </message>
    <message>
        <source>&amp;Customize Toolbar…</source>
        <translation>Werkzeugleiste &amp;anpassen …</translation>
    </message>
    <message>
        <source>&amp;Record / Stop</source>
        <translation>&amp;Aufnehmen / Beenden</translation>
    </message>
    <message>
        <source>&amp;Pause / Resume</source>
        <translation>&amp;Pause / Fortsetzen</translation>
    </message>
    <message>
        <source>&amp;Snip</source>
        <translation>&amp;Schnitt</translation>
    </message>
    <message>
        <source>&amp;Monitor Input</source>
        <translation>&amp;Eingang mithören</translation>
    </message>
    <message>
        <source>&amp;Timer…</source>
        <translation>&amp;Timer …</translation>
    </message>
    <message>
        <source>Sound S&amp;ettings…</source>
        <translation>T&amp;oneinstellungen …</translation>
    </message>
    <message>
        <source>&amp;Play / Pause</source>
        <translation>&amp;Abspielen / Anhalten</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stopp</translation>
    </message>
    <message>
        <source>Brevoir &amp;Help</source>
        <translation>Brevoir-&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;Tell a Friend…</source>
        <translation>Einem &amp;Freund empfehlen …</translation>
    </message>
    <message>
        <source>&amp;About Brevoir</source>
        <translation>&amp;Über Brevoir</translation>
    </message>
</context>
<context>
    <name>MainInterface</name>
    <message>
        <source>Choose…</source>
        <translation>Auswählen …</translation>
    </message>
    <message>
        <source>No Conversion</source>
        <translation>Keine Umwandlung</translation>
    </message>
</context>
<context>
    <name>BVController</name>
    <message>
        <source>Play</source>
        <translation>Wiedergabe</translation>
    </message>
    <message>
        <source>Some recordings could not be repaired and were left as they are: %1</source>
        <translation>Einige Aufnahmen konnten nicht repariert werden und wurden unverändert gelassen: %1</translation>
    </message>
    <message>
        <source>Recording is not possible: no sound input could be set up.</source>
        <translation>Aufnehmen ist nicht möglich: Es konnte kein Toneingang eingerichtet werden.</translation>
    </message>
    <message>
        <source>Stop monitoring the input before you record.</source>
        <translation>Beenden Sie das Mithören des Eingangs, bevor Sie aufnehmen.</translation>
    </message>
    <message>
        <source>The recording could not start: the library folder cannot be used: %1</source>
        <translation>Die Aufnahme konnte nicht beginnen: Der Bibliotheksordner kann nicht verwendet werden: %1</translation>
    </message>
    <message>
        <source>The recording could not start: %1</source>
        <translation>Die Aufnahme konnte nicht beginnen: %1</translation>
    </message>
    <message>
        <source>The recording could not start. Check the input device in Sound Settings.</source>
        <translation>Die Aufnahme konnte nicht beginnen. Prüfen Sie das Eingabegerät in den Toneinstellungen.</translation>
    </message>
    <message>
        <source>The input could not be monitored: %1</source>
        <translation>Der Eingang konnte nicht mitgehört werden: %1</translation>
    </message>
    <message>
        <source>The input could not be monitored.</source>
        <translation>Der Eingang konnte nicht mitgehört werden.</translation>
    </message>
</context>
<context>
    <name>SyncStatusPanel</name>
    <message>
        <source>Sync</source>
        <translation>Synchronisieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>TimerWindow</name>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Stop each recording after this length:</source>
        <translation>Jede Aufnahme nach dieser Dauer beenden:</translation>
    </message>
    <message>
        <source>h</source>
        <translation>h</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>s</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Timer on</source>
        <translation>Timer an</translation>
    </message>
</context>
<context>
    <name>PreferencesPanel</name>
    <message>
        <source>Preferences</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Library folder:</source>
        <translation>Bibliotheksordner:</translation>
    </message>
    <message>
        <source>Playlist name:</source>
        <translation>Name der Wiedergabeliste:</translation>
    </message>
    <message>
        <source>Convert when syncing:</source>
        <translation>Beim Synchronisieren umwandeln:</translation>
    </message>
    <message>
        <source>Move deleted recordings to the trash</source>
        <translation>Gelöschte Aufnahmen in den Papierkorb verschieben</translation>
    </message>
    <message>
        <source>Two-way sync with the playlist</source>
        <translation>In beide Richtungen mit der Wiedergabeliste synchronisieren</translation>
    </message>
</context>
<context>
    <name>CategoryEditor</name>
    <message>
        <source>Categories</source>
        <translation>Kategorien</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
</TS>
