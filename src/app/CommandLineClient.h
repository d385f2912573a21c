#pragma once

#include <QString>
#include <QStringList>

#include <cstdio>

// The command-line client: `brevoir --start`, `--stop`, `--pause`, `--snip`, `--quit`,
// `--status`, delivered over the session bus to the running instance. When none runs, the
// recording commands first launch one in the background.
namespace CommandLineClient {
enum class Command { Start, Stop, Pause, Snip, Quit, Status };

// The command named by a command-line option ("--start" ...), if any.
bool commandForOption(const QString& option, Command* command);

// Delivers the command; answers the exit status (0 on success; otherwise a one-line reason
// went to err). launchArguments are passed to an instance that has to be started.
int run(Command command, const QStringList& launchArguments, FILE* out, FILE* err);

// Asks a running instance to bring its window to the front; false when none answers.
bool activateRunningInstance();
} // namespace CommandLineClient
