<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Localizable</name>
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
        <translation>Abgleichen</translation>
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
</TS>
