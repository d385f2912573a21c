<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Snip</source>
        <translation>Snip</translation>
    </message>
    <message>
        <source>Timer</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Sync</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>DeleteToolbar</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit…</translation>
    </message>
    <message>
        <source>DeleteDialog</source>
        <translation>Delete the selected recordings?</translation>
    </message>
    <message>
        <source>CannotUndo</source>
        <translation>Each recording goes together with its note. You cannot undo this from Brevoir.</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Personal</source>
        <translation>Personal</translation>
    </message>
    <message>
        <source>Business</source>
        <translation>Business</translation>
    </message>
    <message>
        <source>Project1</source>
        <translation>Project1</translation>
    </message>
    <message>
        <source>Project2</source>
        <translation>Project2</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>FlexibleSpace</source>
        <translation>Flexible Space</translation>
    </message>
    <message>
        <source>Separator</source>
        <translation>Separator</translation>
    </message>
    <message>
        <source>Customize</source>
        <translation>Customize</translation>
    </message>
    <message>
        <source>CustomizeToolbarMenu</source>
        <translation>Customize Toolbar…</translation>
    </message>
    <message>
        <source>CustomizeToolbarTitle</source>
        <translation>Customize Toolbar</translation>
    </message>
    <message>
        <source>CustomizeToolbarHint</source>
        <translation>Drag your favorite items into the toolbar. Drag an item out of the toolbar to remove it.</translation>
    </message>
    <message>
        <source>RestoreDefaults</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>EmptyLibraryHint</source>
        <translation>No recordings yet. Press Record or Ctrl+R to make one.</translation>
    </message>
    <message>
        <source>CFBundleName</source>
        <translation>Brevoir</translation>
    </message>
    <message>
        <source>AboutTitle</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>VersionFormat</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>NSHumanReadableCopyright</source>
        <translation>Copyright © 2026 The Brevoir Developers.</translation>
    </message>
    <message>
        <source>SyncBeginning</source>
        <translation>Getting ready to sync…</translation>
    </message>
    <message>
        <source>SyncConfigure</source>
        <translation>Setting up the playlist</translation>
    </message>
    <message>
        <source>SyncRetrieving</source>
        <translation>Reading the playlist’s tracks…</translation>
    </message>
    <message>
        <source>SyncCopying</source>
        <translation>Copying %1 of %2: %3</translation>
    </message>
    <message>
        <source>SyncConverting</source>
        <translation>Converting %1 of %2: %3</translation>
    </message>
    <message>
        <source>SyncUnavailable</source>
        <translation>Sync is not available: no playlist component could be loaded.</translation>
    </message>
    <message>
        <source>SyncRunning</source>
        <translation>A sync is already running.</translation>
    </message>
    <message>
        <source>SyncNoFiles</source>
        <translation>There are no recordings to sync.</translation>
    </message>
    <message>
        <source>SyncCancelled</source>
        <translation>The sync was cancelled.</translation>
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
        <translation>Elapsed time</translation>
    </message>
    <message>
        <source>Input level</source>
        <translation>Input level</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>A note about the selected recording</source>
        <translation>A note about the selected recording</translation>
    </message>
    <message>
        <source>Recording</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Start or stop a recording</source>
        <translation>Start or stop a recording</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>Pause or resume the recording</source>
        <translation>Pause or resume the recording</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>End this recording and start the next at once</source>
        <translation>End this recording and start the next at once</translation>
    </message>
    <message>
        <source>Snip</source>
        <translation>Snip</translation>
    </message>
    <message>
        <source>Listen to the input and watch its level</source>
        <translation>Listen to the input and watch its level</translation>
    </message>
    <message>
        <source>Monitor</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>Stop recordings after a set time</source>
        <translation>Stop recordings after a set time</translation>
    </message>
    <message>
        <source>Timer…</source>
        <translation>Timer…</translation>
    </message>
    <message>
        <source>Input device, rate, channels and format</source>
        <translation>Input device, rate, channels and format</translation>
    </message>
    <message>
        <source>Sound…</source>
        <translation>Sound…</translation>
    </message>
    <message>
        <source>Playback</source>
        <translation>Playback</translation>
    </message>
    <message>
        <source>Play or pause the selected recording</source>
        <translation>Play or pause the selected recording</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Stop playing</source>
        <translation>Stop playing</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Categories</source>
        <translation>&amp;Categories</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Recording</source>
        <translation>&amp;Recording</translation>
    </message>
    <message>
        <source>&amp;Playback</source>
        <translation>&amp;Playback</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Export Note…</source>
        <translation>&amp;Export Note…</translation>
    </message>
    <message>
        <source>Show in File &amp;Manager</source>
        <translation>Show in File &amp;Manager</translation>
    </message>
    <message>
        <source>Re&amp;name</source>
        <translation>Re&amp;name</translation>
    </message>
    <message>
        <source>&amp;Delete…</source>
        <translation>&amp;Delete…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Select &amp;All</translation>
    </message>
    <message>
        <source>&amp;Find…</source>
        <translation>&amp;Find…</translation>
    </message>
    <message>
        <source>Pr&amp;eferences…</source>
        <translation>Pr&amp;eferences…</translation>
    </message>
    <message>
        <source>Show &amp;Toolbar</source>
        <translation>Show &amp;Toolbar</translation>
    </message>
    <message>
        <source>&amp;Customize Toolbar…</source>
        <translation>&amp;Customize Toolbar…</translation>
    </message>
    <message>
        <source>&amp;Record / Stop</source>
        <translation>&amp;Record / Stop</translation>
    </message>
    <message>
        <source>&amp;Pause / Resume</source>
        <translation>&amp;Pause / Resume</translation>
    </message>
    <message>
        <source>&amp;Snip</source>
        <translation>&amp;Snip</translation>
    </message>
    <message>
        <source>&amp;Monitor Input</source>
        <translation>&amp;Monitor Input</translation>
    </message>
    <message>
        <source>&amp;Timer…</source>
        <translation>&amp;Timer…</translation>
    </message>
    <message>
        <source>Sound S&amp;ettings…</source>
        <translation>Sound S&amp;ettings…</translation>
    </message>
    <message>
        <source>&amp;Play / Pause</source>
        <translation>&amp;Play / Pause</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>Brevoir &amp;Help</source>
        <translation>Brevoir &amp;Help</translation>
    </message>
    <message>
        <source>&amp;Tell a Friend…</source>
        <translation>&amp;Tell a Friend…</translation>
    </message>
    <message>
        <source>&amp;About Brevoir</source>
        <translation>&amp;About Brevoir</translation>
    </message>
</context>
</TS>
