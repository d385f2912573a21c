#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <cstdio>

// The command-line client: `brevoir --start`, `--stop` (both print the recording's file),
// `--toggle`, `--pause`, `--snip`, `--quit`, `--status`, and for the library `--rename OLD NEW`,
// `--delete NAME`, `--note NAME`, `--set-note NAME FILE` and `--set-category NAME CATEGORY`,
// for a start at a set time `--start-at TIME [--length DURATION]` and `--cancel-schedule`, for
// voice activation `--voice on|off` with its settings, `--mark [TEXT]` for the running
// recording's note,
// `--input-gain PERCENT` for the input's gain on the sound server, `--export NAME FILE` to
// convert a recording (the format of FILE's extension),
// delivered over the session bus to the running instance. When none runs, `--start`,
// `--toggle` and `--snip` first launch one in the background; the others need one running.
namespace CommandLineClient {
enum class Command {
    Start,
    Stop,
    Toggle,
    Pause,
    Snip,
    Quit,
    Status,
    Rename,
    Delete,
    Note,
    SetNote,
    SetCategory,
    Sync, // waits for the sync to end
    InputGain,
    StartAt,
    CancelSchedule,
    Voice,
    Mark,   // prints the line it added
    Export, // waits for the file to be written
};

// The command named by a command-line option ("--start" ...), if any.
bool commandForOption(const QString& option, Command* command);

// What a command works on: the recording names, a file, a note format.
struct Arguments {
    QStringList names; // --rename: old and new; --set-category: recording and category;
                       // --delete, --note, --set-note: the recording
    QString file;      // --set-note: the note's file, "-" for standard input; --export: the
                       // file to write
    QString format;    // --note: plain (the default), markdown, html or rtf
    QString percent;   // --input-gain
    QString startAt;   // --start-at: TIME (see ScheduleText::parseStart)
    QString length;    // --length: DURATION (see ScheduleText::parseDuration)
    // --voice on|off and the settings given with it (--threshold, --silence, --after-silence,
    // --pre-roll), by SetVoiceActivation's keys, as typed.
    QMap<QString, QString> voice;
    QString markText; // --mark: what follows the time stamp
};

// Delivers the command; answers the exit status (0 on success; otherwise a one-line reason
// went to err). launchArguments are passed to an instance that has to be started.
int run(Command command, const QStringList& launchArguments, FILE* out, FILE* err,
        const Arguments& arguments = {});

// Asks a running instance to bring its window to the front; false when none answers.
bool activateRunningInstance();
} // namespace CommandLineClient
