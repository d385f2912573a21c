#pragma once

#include <QString>

#include <atomic>
#include <cstdio>
#include <memory>

class BVController;
class MainInterface;
class ScriptingService;

// The life of the process: class set-up, creation of the controller, loading and connecting
// the interface, launch, the event loop, and the quit path that SIGTERM, SIGINT and the end
// of the session take too.
class Application {
public:
    struct Options {
        QString libraryFolder; // --library: the library folder for this run
        bool showWindow = true;
        QString inputDevice; // --input-device: the input to record from this run
    };

    explicit Application(Options options);
    ~Application();

    enum class Launch {
        Running,         // launched: run the event loop
        AnotherInstance, // another Brevoir owns the session bus name: hand over to it and end
        QuitRequested,   // a signal asked to quit while launching: end without saving anything
        Refused,         // the command line asked for what cannot be had (the reason is printed)
    };
    // Creates the controller and its interface, claims the bus name (the single-instance
    // decision, made before the long launch work) and runs the launch steps.
    Launch launch();
    // Runs the event loop until quit; answers the exit status.
    int exec();

    BVController* controller() const { return _controller.get(); }
    MainInterface* interface() const { return _interface.get(); }

    // Routes SIGTERM, SIGINT and SIGHUP into the application's quit path. Call before the
    // application object exists, so that no moment of the launch is left to the default action.
    static void installSignalHandlers();
    // Set once one of those signals came; the launch steps check it between files and steps.
    static const std::atomic<bool>* quitRequest();

    // `--list-input-devices`: one input per line, "DESCRIPTION<TAB>NAME<TAB>KIND" (the kind:
    // default, input, monitor or device); answers the exit status.
    static int printInputDevices(FILE* out, FILE* err);

private:
    void terminate();
    // The inputs as printInputDevices lists them, each line indented; false when there are none.
    static bool printInputs(FILE* out, const char* indent);

    Options _options;
    std::unique_ptr<BVController> _controller;
    std::unique_ptr<MainInterface> _interface;
    std::unique_ptr<ScriptingService> _scripting;
    bool _launched = false;
    bool _terminated = false;
};
