<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>SavedTimerUnusable</source>
        <translation>The saved timer (%1) cannot be used, so the timer is off. Set it again in Timer.</translation>
    </message>
    <message>
        <source>StartAtBox</source>
        <translation>Start recording at</translation>
    </message>
    <message>
        <source>StartAtBoxHelp</source>
        <translation>Brevoir waits and starts recording at the moment below; the timer, when on, ends it.</translation>
    </message>
    <message>
        <source>StartAtField</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>StartAtFieldHelp</source>
        <translation>The date and time the recording starts.</translation>
    </message>
    <message>
        <source>VoiceBox</source>
        <translation>Record when there is sound</translation>
    </message>
    <message>
        <source>VoiceBoxHelp</source>
        <translation>Sound above the threshold starts a recording; the set silence stops or pauses it.</translation>
    </message>
    <message>
        <source>VoiceThresholdField</source>
        <translation>Threshold</translation>
    </message>
    <message>
        <source>VoiceThresholdFieldHelp</source>
        <translation>The level that counts as sound, in dB below full scale.</translation>
    </message>
    <message>
        <source>VoiceSilenceField</source>
        <translation>Silence</translation>
    </message>
    <message>
        <source>VoiceSilenceFieldHelp</source>
        <translation>How long it must be quiet before the recording stops or pauses.</translation>
    </message>
    <message>
        <source>VoiceAfterSilenceMenu</source>
        <translation>After the silence</translation>
    </message>
    <message>
        <source>VoiceAfterSilenceMenuHelp</source>
        <translation>Stop the recording (the next sound starts a new one) or pause it (the next sound resumes it).</translation>
    </message>
    <message>
        <source>VoiceThenStop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>VoiceThenPause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>VoicePreRollField</source>
        <translation>Kept before</translation>
    </message>
    <message>
        <source>VoicePreRollFieldHelp</source>
        <translation>How much of the sound before the trigger the recording begins with, so that no first syllable is cut.</translation>
    </message>
    <message>
        <source>InsertTimeStamp</source>
        <translation>Insert Time Stamp</translation>
    </message>
    <message>
        <source>TimeStampNeedsAPlace</source>
        <translation>A time stamp marks a place in a recording: record or play one first.</translation>
    </message>
    <message>
        <source>MarkNeedsARecording</source>
        <translation>no recording is running</translation>
    </message>
    <message>
        <source>CloseWhileRecordingTitle</source>
        <translation>Close the window?</translation>
    </message>
    <message>
        <source>CloseWhileRecordingQuestion</source>
        <translation>Brevoir can keep going in the background, with Stop at hand, or stop now and quit.</translation>
    </message>
    <message>
        <source>KeepRecordingInBackground</source>
        <translation>Keep recording in the background</translation>
    </message>
    <message>
        <source>KeepRecordingInBackgroundHelp</source>
        <translation>Closes the window; the recording goes on, and the desktop shows it with Stop.</translation>
    </message>
    <message>
        <source>StopAndQuit</source>
        <translation>Stop and quit</translation>
    </message>
    <message>
        <source>StopAndQuitHelp</source>
        <translation>Ends the recording, keeping what was recorded, and quits Brevoir.</translation>
    </message>
    <message>
        <source>BackgroundRecording</source>
        <translation>Recording “%1” in the background.</translation>
    </message>
    <message>
        <source>BackgroundListening</source>
        <translation>Listening for sound in the background: a recording starts when it comes.</translation>
    </message>
    <message>
        <source>BackgroundScheduled</source>
        <translation>Waiting in the background for the scheduled recording.</translation>
    </message>
    <message>
        <source>BackgroundStop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>NoticeRecordingFinished</source>
        <translation>Recording finished</translation>
    </message>
    <message>
        <source>NoticeRecordingFailed</source>
        <translation>Recording stopped</translation>
    </message>
    <message>
        <source>NoticeRecordingBody</source>
        <translation>%1 (%2): %3</translation>
    </message>
    <message>
        <source>NoticeEndedByTimer</source>
        <translation>the timer ended it.</translation>
    </message>
    <message>
        <source>NoticeEndedBySilence</source>
        <translation>it ended after the set silence.</translation>
    </message>
    <message>
        <source>NoticeEndedByWriteError</source>
        <translation>the file could not be written (is the disk full?).</translation>
    </message>
    <message>
        <source>NoticeEndedByDeviceLost</source>
        <translation>the input device went away.</translation>
    </message>
    <message>
        <source>NoticeShow</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>NoticePlay</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>NoticeSyncFinished</source>
        <translation>Sync finished</translation>
    </message>
    <message>
        <source>NoticeSyncFailed</source>
        <translation>Sync failed</translation>
    </message>
    <message>
        <source>ScheduleNeedsAStart</source>
        <translation>Give the time at which the recording is to start.</translation>
    </message>
    <message>
        <source>ScheduleLengthOutOfRange</source>
        <translation>The length must lie between 0 and 9942 hours.</translation>
    </message>
    <message>
        <source>ScheduleStartPassed</source>
        <translation>The start time %1 has already passed.</translation>
    </message>
    <message>
        <source>ScheduleRefusedWhileListening</source>
        <translation>Voice activation is on; turn it off to schedule a recording.</translation>
    </message>
    <message>
        <source>ScheduleMissed</source>
        <translation>The recording scheduled for %1 did not start: Brevoir was not running at that time.</translation>
    </message>
    <message>
        <source>ScheduleFoundRecording</source>
        <translation>The scheduled recording did not start because a recording was already running.</translation>
    </message>
    <message>
        <source>StateListening</source>
        <translation>Waiting for sound</translation>
    </message>
    <message>
        <source>StateScheduled</source>
        <translation>Scheduled %1</translation>
    </message>
    <message>
        <source>VoiceThresholdOutOfRange</source>
        <translation>The threshold must lie between −60 and 0 dBFS.</translation>
    </message>
    <message>
        <source>VoiceSilenceOutOfRange</source>
        <translation>The silence must last between 0.1 and 3600 seconds.</translation>
    </message>
    <message>
        <source>VoicePreRollOutOfRange</source>
        <translation>The time kept before the sound must lie between 0 and 3 seconds.</translation>
    </message>
    <message>
        <source>VoiceUnknownSetting</source>
        <translation>Voice activation has no setting “%1”.</translation>
    </message>
    <message>
        <source>VoiceSettingNotUnderstood</source>
        <translation>The value of “%1” was not understood.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileScheduled</source>
        <translation>A recording is scheduled; cancel it to use voice activation.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileMonitoring</source>
        <translation>Stop monitoring the input before you turn voice activation on.</translation>
    </message>
    <message>
        <source>VoiceRefusedWhileRecording</source>
        <translation>Stop the running recording before you turn voice activation on.</translation>
    </message>
    <message>
        <source>VoiceCouldNotListen</source>
        <translation>Voice activation could not listen to the input: %1</translation>
    </message>
    <message>
        <source>VoiceNotRestored</source>
        <translation>Voice activation is off this time: %1</translation>
    </message>
    <message>
        <source>RecoveredRecordings</source>
        <translation>Recovered %1 recordings interrupted by a crash: %2</translation>
    </message>
    <message>
        <source>RecoveredOneRecording</source>
        <translation>Recovered %1 recording interrupted by a crash: %2</translation>
    </message>
    <message>
        <source>DoesNotPlay</source>
        <translation>it does not play: %1</translation>
    </message>
    <message>
        <source>PlaysOtherLength</source>
        <translation>it plays %1 s of the %2 s it claims</translation>
    </message>
    <message>
        <source>SettingsForThisRunOnly</source>
        <translation>%1 Settings are kept for this run only.</translation>
    </message>
    <message>
        <source>NotRecoveredStillBroken</source>
        <translation>completed, but %1</translation>
    </message>
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
        <source>RemoveCategoryTitle</source>
        <translation>Remove Category</translation>
    </message>
    <message>
        <source>RemoveCategoryQuestionOne</source>
        <translation>Remove “%1”? The recording filed under it moves to “%2”.</translation>
    </message>
    <message>
        <source>RemoveCategoryQuestionMany</source>
        <translation>Remove “%1”? The %3 recordings filed under it move to “%2”.</translation>
    </message>
    <message>
        <source>RemoveFirstCategoryQuestion</source>
        <translation>Remove “%1”? Recordings filed under it (%2) keep it as their category, but it will no longer be offered.</translation>
    </message>
    <message>
        <source>RemoveCategoryButton</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Rec</source>
        <translation>Rec</translation>
    </message>
    <message>
        <source>MediaFileGone</source>
        <translation>the file is no longer there</translation>
    </message>
    <message>
        <source>MediaNoPermission</source>
        <translation>you are not allowed to read or write this file</translation>
    </message>
    <message>
        <source>MediaDiskFull</source>
        <translation>the disk is full</translation>
    </message>
    <message>
        <source>MediaDiskError</source>
        <translation>the disk could not be read or written</translation>
    </message>
    <message>
        <source>MediaDamaged</source>
        <translation>the file is damaged or is not a sound file</translation>
    </message>
    <message>
        <source>MediaCannotWriteKind</source>
        <translation>this kind of sound file cannot be written here</translation>
    </message>
    <message>
        <source>MediaOtherProblem</source>
        <translation>the sound library could not handle it (%1)</translation>
    </message>
    <message>
        <source>NoteViewName</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>ElapsedTimeName</source>
        <translation>Elapsed time</translation>
    </message>
    <message>
        <source>InputLevelName</source>
        <translation>Input level</translation>
    </message>
    <message>
        <source>RecorderStateName</source>
        <translation>Recorder state</translation>
    </message>
    <message>
        <source>SearchFieldName</source>
        <translation>Search recordings</translation>
    </message>
    <message>
        <source>RecordingsListName</source>
        <translation>Recordings</translation>
    </message>
    <message>
        <source>RecordingsListDescription</source>
        <translation>The arrow keys move between recordings, Space plays, F2 renames.</translation>
    </message>
    <message>
        <source>PlayerName</source>
        <translation>Player</translation>
    </message>
    <message>
        <source>RecordingGroupName</source>
        <translation>Recording controls</translation>
    </message>
    <message>
        <source>PlaybackGroupName</source>
        <translation>Playback controls</translation>
    </message>
    <message>
        <source>HoursFieldName</source>
        <translation>Hours</translation>
    </message>
    <message>
        <source>MinutesFieldName</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>SecondsFieldName</source>
        <translation>Seconds</translation>
    </message>
    <message>
        <source>PositionSliderName</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>PositionOfDuration</source>
        <translation>%1 of %2</translation>
    </message>
    <message>
        <source>NoteNeedsASelection</source>
        <translation>Select a recording to write a note about it.</translation>
    </message>
    <message>
        <source>NoteNeedsOneSelection</source>
        <translation>%1 recordings are selected. Select just one to write its note.</translation>
    </message>
    <message>
        <source>RemedyChooseFolder</source>
        <translation>Choose Another Folder…</translation>
    </message>
    <message>
        <source>RemedySoundSettings</source>
        <translation>Open Sound Settings…</translation>
    </message>
    <message>
        <source>RemedyStopMonitoring</source>
        <translation>Stop Monitoring and Record</translation>
    </message>
    <message>
        <source>MessageBarName</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>MessageBarClose</source>
        <translation>Close this message</translation>
    </message>
    <message>
        <source>StateRecording</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>StatePaused</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>StateMonitoring</source>
        <translation>Monitoring</translation>
    </message>
    <message>
        <source>MeterLevels</source>
        <translation>Left %1 %, right %2 %</translation>
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
    <message>
        <source>SyncingFiles</source>
        <translation>Syncing %1 files.</translation>
    </message>
    <message>
        <source>SyncLeftOut</source>
        <translation>Not synced while being recorded, left for the next sync: %1</translation>
    </message>
    <message>
        <source>SyncFinished</source>
        <translation>Sync finished...</translation>
    </message>
    <message>
        <source>SyncMenuItem</source>
        <translation>S&amp;ync to Playlist</translation>
    </message>
    <message>
        <source>PlaylistTooManyEntries</source>
        <translation>%1 holds more than %2 entries; it was left as it is.</translation>
    </message>
    <message>
        <source>PlaylistChanged</source>
        <translation>%1 was changed by another program during the sync; nothing more was added to it.</translation>
    </message>
    <message>
        <source>PlaylistFolderProtected</source>
        <translation>The playlist “%1” would keep its files in %2, which is, holds or lies inside %3. Choose another playlist name.</translation>
    </message>
    <message>
        <source>ImportFileShrank</source>
        <translation>it became shorter while it was copied</translation>
    </message>
    <message>
        <source>ImportBeingWritten</source>
        <translation>it is still being written</translation>
    </message>
    <message>
        <source>DecoderDamagedPartWay</source>
        <translation>its sound is damaged part-way</translation>
    </message>
    <message>
        <source>DecoderReadFailed</source>
        <translation>reading it failed part-way: %1</translation>
    </message>
    <message>
        <source>PositionSliderTip</source>
        <translation>Drag to move through the recording</translation>
    </message>
    <message>
        <source>CannotPlay</source>
        <translation>“%1” cannot be played: %2</translation>
    </message>
    <message>
        <source>SoundOutputUnavailable</source>
        <translation>The sound output cannot be opened: %1</translation>
    </message>
    <message>
        <source>DecoderFormatUndecodable</source>
        <translation>its sound is in a format that cannot be decoded</translation>
    </message>
    <message>
        <source>DecoderNoSound</source>
        <translation>it holds no sound</translation>
    </message>
    <message>
        <source>OutOfMemory</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>DecoderUnknownFormat</source>
        <translation>its sound format is not known</translation>
    </message>
    <message>
        <source>DecoderCannotDecode</source>
        <translation>its sound cannot be decoded</translation>
    </message>
    <message>
        <source>OutputFormatUnsupported</source>
        <translation>the sound output's format is not supported</translation>
    </message>
    <message>
        <source>PlayerFileAlreadyOpen</source>
        <translation>a file is already open</translation>
    </message>
    <message>
        <source>SoundOutputUnusable</source>
        <translation>the sound output cannot be used</translation>
    </message>
    <message>
        <source>NoSoundOutput</source>
        <translation>there is no sound output</translation>
    </message>
    <message>
        <source>PlayerNoFileOpen</source>
        <translation>no file is open</translation>
    </message>
    <message>
        <source>TrashFolderCannotBeMade</source>
        <translation>The trash folder %1 cannot be made.</translation>
    </message>
    <message>
        <source>TrashRefused</source>
        <translation>The trash refused to take it.</translation>
    </message>
    <message>
        <source>TrashLeftInPlace</source>
        <translation>It is still in its folder after moving to the trash.</translation>
    </message>
    <message>
        <source>TrashMisplaced</source>
        <translation>The trash put it outside any trash folder.</translation>
    </message>
    <message>
        <source>FileNotRead</source>
        <translation>%1 could not be read: %2</translation>
    </message>
    <message>
        <source>FileNotWritten</source>
        <translation>%1 could not be written: %2. The file was left as it was.</translation>
    </message>
    <message>
        <source>FileIsAFolder</source>
        <translation>%1 is a folder, not a file; it was left as it is.</translation>
    </message>
    <message>
        <source>FileIsALink</source>
        <translation>%1 is a link; it was left as it is and nothing was written through it.</translation>
    </message>
    <message>
        <source>FileIsSpecial</source>
        <translation>%1 is a pipe, a device or a socket, not a file; it was left as it is.</translation>
    </message>
    <message>
        <source>FileLinksOutside</source>
        <translation>%1 leads out of %2 through a link; it was not read.</translation>
    </message>
    <message>
        <source>FileTooLarge</source>
        <translation>%1 is larger than %2 MB; it was not read.</translation>
    </message>
    <message>
        <source>DropAlreadyInLibrary</source>
        <translation>Already in the library, left as they are: %1</translation>
    </message>
    <message>
        <source>DropCopyFailed</source>
        <translation>Could not be copied: %1</translation>
    </message>
    <message>
        <source>DropSomeNotCopied</source>
        <translation>Some files were not copied into the library.</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>FontSize</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>TextColourButton</source>
        <translation>Colour…</translation>
    </message>
    <message>
        <source>AlignLeft</source>
        <translation>Align Left</translation>
    </message>
    <message>
        <source>AlignCentre</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>AlignRight</source>
        <translation>Align Right</translation>
    </message>
    <message>
        <source>AlignJustify</source>
        <translation>Justify</translation>
    </message>
    <message>
        <source>BulletedList</source>
        <translation>Bulleted List</translation>
    </message>
    <message>
        <source>NumberedList</source>
        <translation>Numbered List</translation>
    </message>
    <message>
        <source>BoldShort</source>
        <translation>B</translation>
    </message>
    <message>
        <source>ItalicShort</source>
        <translation>I</translation>
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
        <translation>Text Colour</translation>
    </message>
    <message>
        <source>NotARecordingFileName</source>
        <translation>"%1" is not the name of a file in the Recordings folder.</translation>
    </message>
    <message>
        <source>NoRecordingNamed</source>
        <translation>There is no recording named "%1".</translation>
    </message>
    <message>
        <source>BeingRecorded</source>
        <translation>"%1" is being recorded.</translation>
    </message>
    <message>
        <source>PlayingStopFirst</source>
        <translation>"%1" is playing; stop it first.</translation>
    </message>
    <message>
        <source>NotDeleted</source>
        <translation>Not deleted: %1</translation>
    </message>
    <message>
        <source>CouldNotDeleteBecause</source>
        <translation>"%1" could not be deleted: %2</translation>
    </message>
    <message>
        <source>CouldNotDelete</source>
        <translation>"%1" could not be deleted.</translation>
    </message>
    <message>
        <source>DeleteOneQuestion</source>
        <translation>Delete “%1”?</translation>
    </message>
    <message numerus="yes">
        <source>DeleteManyQuestion</source>
        <translation>
            <numerusform>Delete %n recording?</numerusform>
            <numerusform>Delete %n recordings?</numerusform>
        </translation>
    </message>
    <message>
        <source>NoteWouldBeShared</source>
        <translation>“%1” would share its note with “%2”.</translation>
    </message>
    <message>
        <source>NoteInTheWay</source>
        <translation>The Notes folder already holds %1, which would be replaced.</translation>
    </message>
    <message>
        <source>NoteCannotFollow</source>
        <translation>Its note %1 cannot move with it: %2</translation>
    </message>
    <message>
        <source>NoteLeftAt</source>
        <translation>Its note could not be put back and is now %1: %2</translation>
    </message>
    <message>
        <source>NotePicturesLeftOut</source>
        <translation>The note of “%1” has more pictures than the %2 a note can hold; the others were left out.</translation>
    </message>
    <message>
        <source>NoteLoading</source>
        <translation>Loading the note…</translation>
    </message>
    <message>
        <source>NoteLeftUnread</source>
        <translation>the stored note could not be read, so it is left as it is.</translation>
    </message>
    <message>
        <source>NoteNotAFolder</source>
        <translation>%1 is not a note folder; it was left as it is.</translation>
    </message>
    <message>
        <source>NoteFolderMissing</source>
        <translation>The folder %1 does not exist.</translation>
    </message>
    <message>
        <source>NoteHasNoName</source>
        <translation>No name was given for the note.</translation>
    </message>
    <message>
        <source>TrashNotWritable</source>
        <translation>The trash %1 cannot be written: %2</translation>
    </message>
    <message>
        <source>TrashFolderUnsafe</source>
        <translation>%1 is not a trash folder of yours (it is a link or belongs to someone else); it is not used.</translation>
    </message>
    <message>
        <source>NoTrashOnVolume</source>
        <translation>%1 cannot go to the trash: its disk has no trash that can be used (%2)</translation>
    </message>
    <message>
        <source>TrashMoveFailed</source>
        <translation>%1 could not be moved into the trash: %2</translation>
    </message>
    <message>
        <source>TrashNoFreeName</source>
        <translation>The trash %1 has no free name left for %2.</translation>
    </message>
    <message>
        <source>NotRenamedBecause</source>
        <translation>"%1" was not renamed: %2</translation>
    </message>
    <message>
        <source>NotRenamed</source>
        <translation>The recording was not renamed.</translation>
    </message>
    <message>
        <source>NoteNotSaved</source>
        <translation>The note of "%1" could not be saved: %2</translation>
    </message>
    <message>
        <source>ExportNote</source>
        <translation>Export Note</translation>
    </message>
    <message>
        <source>NoteNotExported</source>
        <translation>The note could not be exported: %1</translation>
    </message>
    <message>
        <source>UnknownNoteFormat</source>
        <translation>Unknown note format "%1": use plain, markdown, html or rtf.</translation>
    </message>
    <message>
        <source>NoteNotReadOf</source>
        <translation>The note of "%1" could not be read: %2</translation>
    </message>
    <message>
        <source>NoteNotRead</source>
        <translation>The note could not be read: %1</translation>
    </message>
    <message>
        <source>EmptyNoteNotStored</source>
        <translation>An empty note is not stored; the note stays as it was.</translation>
    </message>
    <message>
        <source>FormatRtfd</source>
        <translation>Rich text with attachments (*.rtfd)</translation>
    </message>
    <message>
        <source>FormatRtf</source>
        <translation>Rich text (*.rtf)</translation>
    </message>
    <message>
        <source>FormatOdt</source>
        <translation>OpenDocument text (*.odt)</translation>
    </message>
    <message>
        <source>FormatHtml</source>
        <translation>Web page (*.html *.htm)</translation>
    </message>
    <message>
        <source>FormatMarkdown</source>
        <translation>Markdown (*.md)</translation>
    </message>
    <message>
        <source>FormatPlain</source>
        <translation>Plain text (*.txt)</translation>
    </message>
    <message>
        <source>OdtNotMade</source>
        <translation>The OpenDocument file could not be made.</translation>
    </message>
    <message>
        <source>NameColumn</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>CategoryColumn</source>
        <translation>Category</translation>
    </message>
    <message>
        <source>DateColumn</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>SizeColumn</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>DurationColumn</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>NameEmpty</source>
        <translation>A recording needs a name.</translation>
    </message>
    <message>
        <source>NameHoldsNul</source>
        <translation>A file name cannot hold a NUL character.</translation>
    </message>
    <message>
        <source>NameHoldsControl</source>
        <translation>A name cannot hold a control character (such as a line break or tab): the library could not store it.</translation>
    </message>
    <message>
        <source>NameNotPlain</source>
        <translation>"%1" cannot be a file name: names may not be "." or ".." or hold "/".</translation>
    </message>
    <message>
        <source>NameTooLong</source>
        <translation>The name is longer than the file system allows (%1 bytes).</translation>
    </message>
    <message>
        <source>NameTaken</source>
        <translation>There is already a file named "%1".</translation>
    </message>
    <message>
        <source>CategoriesFileStuck</source>
        <translation>The categories file %1 cannot be read (%2) nor moved aside; categories will not be saved in this library.</translation>
    </message>
    <message>
        <source>CategoriesFileKeptAside</source>
        <translation>The categories file could not be read (%1); it was kept as %2 and the default categories are used.</translation>
    </message>
    <message>
        <source>LastCategory</source>
        <translation>The last category cannot be removed.</translation>
    </message>
    <message>
        <source>LibraryNotOpen</source>
        <translation>The library is not open yet.</translation>
    </message>
    <message>
        <source>CategoriesNotSaved</source>
        <translation>The categories could not be saved: %1</translation>
    </message>
    <message>
        <source>CategoriesFileNotAFile</source>
        <translation>%1 The default categories are used for now, and changes to categories cannot be saved in this library.</translation>
    </message>
    <message>
        <source>CategoryNameRefused</source>
        <translation>The category was not renamed: a category name cannot hold control characters.</translation>
    </message>
    <message>
        <source>NotACategory</source>
        <translation>"%1" is not one of the categories.</translation>
    </message>
    <message>
        <source>LibraryFolderUnusable</source>
        <translation>The library folder cannot be used: %1</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>InputMissingUsingDefault</source>
        <translation>The input "%1" is not connected; recording from the default input until it returns.</translation>
    </message>
    <message>
        <source>InputMissingUsingFallback</source>
        <translation>The input "%1" is not connected; recording from the default input "%2" until it returns.</translation>
    </message>
    <message>
        <source>SoundSettings</source>
        <translation>Sound Settings</translation>
    </message>
    <message>
        <source>ExportRecordingPanel</source>
        <translation>Export Recordings to a Folder</translation>
    </message>
    <message>
        <source>ExportRecordingFormat</source>
        <translation>Format:</translation>
    </message>
    <message>
        <source>ExportingRecording</source>
        <translation>Exporting “%1” (%2 of %3)…</translation>
    </message>
    <message>
        <source>ExportFailed</source>
        <translation>“%1” was not exported: %2</translation>
    </message>
    <message>
        <source>ExportUnknownExtension</source>
        <translation>“%1” has no extension Brevoir exports to; use one of %2.</translation>
    </message>
    <message>
        <source>ExportNoFolder</source>
        <translation>The folder “%1” does not exist.</translation>
    </message>
    <message>
        <source>ExportFileExists</source>
        <translation>“%1” already exists; Brevoir does not replace it.</translation>
    </message>
    <message>
        <source>ExportRunning</source>
        <translation>An export is already running.</translation>
    </message>
    <message>
        <source>ExportNothingSelected</source>
        <translation>Select the recordings to export first.</translation>
    </message>
    <message>
        <source>ExportNoFormats</source>
        <translation>The installed FFmpeg offers none of the formats Brevoir exports to.</translation>
    </message>
    <message>
        <source>ImportNameTaken</source>
        <translation>“%1” already exists.</translation>
    </message>
    <message>
        <source>WaveformName</source>
        <translation>Waveform</translation>
    </message>
    <message>
        <source>WaveformDescription</source>
        <translation>The recording’s waveform with the playback position; click to play from there</translation>
    </message>
    <message>
        <source>WaveformTip</source>
        <translation>Click or drag to go to that point; Left and Right step 5 seconds (with Shift 30)</translation>
    </message>
    <message>
        <source>LevelHistoryName</source>
        <translation>Level history</translation>
    </message>
    <message>
        <source>LevelHistoryTip</source>
        <translation>The last minute of input levels (peak and RMS, in dBFS); click to clear the clip mark</translation>
    </message>
    <message>
        <source>LevelHistoryDescription</source>
        <translation>The last minute of input levels; no clipping</translation>
    </message>
    <message>
        <source>LevelHistoryClipped</source>
        <translation>The input clipped: a sample reached full scale. Press Space to clear the mark.</translation>
    </message>
    <message>
        <source>LevelHistoryClip</source>
        <translation>CLIP</translation>
    </message>
    <message>
        <source>InputGainLabel</source>
        <translation>Input gain:</translation>
    </message>
    <message>
        <source>InputGainName</source>
        <translation>Input gain</translation>
    </message>
    <message>
        <source>InputGainTip</source>
        <translation>The input’s volume on the sound server, as the desktop’s mixer shows it</translation>
    </message>
    <message>
        <source>InputGainNotAdjustable</source>
        <translation>This input’s gain cannot be adjusted here</translation>
    </message>
    <message>
        <source>InputGainOutOfRange</source>
        <translation>The input gain must be between 0 and %1 %.</translation>
    </message>
    <message>
        <source>InputGainUnavailable</source>
        <translation>The chosen input has no gain the sound server controls.</translation>
    </message>
    <message>
        <source>InputGainRefused</source>
        <translation>The sound server did not accept the new input gain.</translation>
    </message>
    <message>
        <source>InputLevelLabel</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>InputLevelUnavailable</source>
        <translation>The input’s level cannot be measured</translation>
    </message>
    <message>
        <source>MonitorOfOutput</source>
        <translation>Monitor of %1</translation>
    </message>
    <message>
        <source>SoundServerFallback</source>
        <translation>The sound server did not answer (%1): recording from “%2” directly instead.</translation>
    </message>
    <message>
        <source>DefaultInput</source>
        <translation>Default Input</translation>
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
        <translation>16-bit</translation>
    </message>
    <message>
        <source>SampleSize24</source>
        <translation>24-bit</translation>
    </message>
    <message>
        <source>NoCompression</source>
        <translation>None</translation>
    </message>
    <message>
        <source>CompressionIma4</source>
        <translation>IMA 4:1</translation>
    </message>
    <message>
        <source>InputLabel</source>
        <translation>Input:</translation>
    </message>
    <message>
        <source>RateLabel</source>
        <translation>Rate:</translation>
    </message>
    <message>
        <source>ChannelsLabel</source>
        <translation>Channels:</translation>
    </message>
    <message>
        <source>SampleSizeLabel</source>
        <translation>Sample Size:</translation>
    </message>
    <message>
        <source>CompressionLabel</source>
        <translation>Compression:</translation>
    </message>
    <message>
        <source>PlaythroughLabel</source>
        <translation>Playthrough:</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>SampleRateHz</source>
        <translation>%1 Hz</translation>
    </message>
    <message numerus="yes">
        <source>CopyingIntoLibrary</source>
        <translation>
            <numerusform>Copying %n recording into the library…</numerusform>
            <numerusform>Copying %n recordings into the library…</numerusform>
        </translation>
    </message>
    <message>
        <source>Recording stopped: the file could not be written (%1).</source>
        <translation>Recording stopped: the file could not be written (%1).</translation>
    </message>
    <message>
        <source>Recording stopped: the sound input went away. What was recorded until then is kept.</source>
        <translation>Recording stopped: the sound input went away. What was recorded until then is kept.</translation>
    </message>
    <message>
        <source>Sound was lost while recording: %1 block(s) dropped so far because the disk could not keep up.</source>
        <translation>Sound was lost while recording: %1 block(s) dropped so far because the disk could not keep up.</translation>
    </message>
    <message>
        <source>Hours, minutes and seconds cannot be negative.</source>
        <translation>Hours, minutes and seconds cannot be negative.</translation>
    </message>
    <message>
        <source>The timer can be at most 9942 hours, 3 minutes and 14 seconds.</source>
        <translation>The timer can be at most 9942 hours, 3 minutes and 14 seconds.</translation>
    </message>
    <message>
        <source>PlaylistNeedsName</source>
        <translation>The playlist needs a name.</translation>
    </message>
    <message>
        <source>PlaylistNameInvalid</source>
        <translation>“%1” cannot be a playlist’s name.</translation>
    </message>
    <message>
        <source>PlaylistNameSlash</source>
        <translation>A playlist’s name cannot contain “/”.</translation>
    </message>
    <message>
        <source>PlaylistNameControl</source>
        <translation>A playlist’s name cannot contain line breaks or control characters.</translation>
    </message>
    <message>
        <source>PlaylistNameTooLong</source>
        <translation>The playlist’s name is too long.</translation>
    </message>
    <message>
        <source>PlaylistNotWritten</source>
        <translation>The playlist %1 could not be written: %2</translation>
    </message>
    <message>
        <source>EncoderNotInstalled</source>
        <translation>No encoder “%1” is installed.</translation>
    </message>
    <message>
        <source>EncoderOutOfMemory</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>EncoderNoSound</source>
        <translation>it holds no sound</translation>
    </message>
    <message>
        <source>ImportFolderNotMade</source>
        <translation>The folder %1 could not be made.</translation>
    </message>
    <message>
        <source>ImportNotImported</source>
        <translation>Not imported: %1</translation>
    </message>
    <message>
        <source>ImportLineBreak</source>
        <translation>its name holds a line break</translation>
    </message>
    <message>
        <source>ImportTooManyNames</source>
        <translation>too many files of that name</translation>
    </message>
    <message>
        <source>ImportCancelled</source>
        <translation>cancelled</translation>
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
        <source>Input gain</source>
        <translation>Input gain</translation>
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
        <source>E&amp;xport Recording…</source>
        <translation>E&amp;xport Recording…</translation>
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
<context>
    <name>MainInterface</name>
    <message>
        <source>Choose…</source>
        <translation>Choose…</translation>
    </message>
    <message>
        <source>No Conversion</source>
        <translation>No Conversion</translation>
    </message>
</context>
<context>
    <name>BVController</name>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Some recordings could not be repaired and were left as they are: %1</source>
        <translation>Some recordings could not be repaired and were left as they are: %1</translation>
    </message>
    <message>
        <source>Recording is not possible: no sound input could be set up.</source>
        <translation>Recording is not possible: no sound input could be set up.</translation>
    </message>
    <message>
        <source>Stop monitoring the input before you record.</source>
        <translation>Stop monitoring the input before you record.</translation>
    </message>
    <message>
        <source>The recording could not start: the library folder cannot be used: %1</source>
        <translation>The recording could not start: the library folder cannot be used: %1</translation>
    </message>
    <message>
        <source>The recording could not start: %1</source>
        <translation>The recording could not start: %1</translation>
    </message>
    <message>
        <source>The recording could not start. Check the input device in Sound Settings.</source>
        <translation>The recording could not start. Check the input device in Sound Settings.</translation>
    </message>
    <message>
        <source>The input could not be monitored: %1</source>
        <translation>The input could not be monitored: %1</translation>
    </message>
    <message>
        <source>The input could not be monitored.</source>
        <translation>The input could not be monitored.</translation>
    </message>
</context>
<context>
    <name>SyncStatusPanel</name>
    <message>
        <source>Sync</source>
        <translation>Sync</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
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
        <translation>Stop each recording after this length:</translation>
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
        <translation>Timer on</translation>
    </message>
</context>
<context>
    <name>PreferencesPanel</name>
    <message>
        <source>Preferences</source>
        <translation>Preferences</translation>
    </message>
    <message>
        <source>Library folder:</source>
        <translation>Library folder:</translation>
    </message>
    <message>
        <source>Playlist name:</source>
        <translation>Playlist name:</translation>
    </message>
    <message>
        <source>Convert when syncing:</source>
        <translation>Convert when syncing:</translation>
    </message>
    <message>
        <source>Move deleted recordings to the trash</source>
        <translation>Move deleted recordings to the trash</translation>
    </message>
    <message>
        <source>Two-way sync with the playlist</source>
        <translation>Two-way sync with the playlist</translation>
    </message>
</context>
<context>
    <name>CategoryEditor</name>
    <message>
        <source>Categories</source>
        <translation>Categories</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
</context>
</TS>
