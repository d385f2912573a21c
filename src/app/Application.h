#pragma once

#include <QString>

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

    // Creates the controller and its interface and runs the launch steps.
    void launch();
    // Runs the event loop until quit; answers the exit status.
    int exec();

    BVController* controller() const { return _controller.get(); }
    MainInterface* interface() const { return _interface.get(); }

    // Routes SIGTERM and SIGINT into the application's quit path.
    static void installSignalHandlers();

    // `--list-input-devices`: one input name per line; answers the exit status.
    static int printInputDevices(FILE* out, FILE* err);

private:
    void terminate();

    Options _options;
    std::unique_ptr<BVController> _controller;
    std::unique_ptr<MainInterface> _interface;
    std::unique_ptr<ScriptingService> _scripting;
    bool _terminated = false;
};
