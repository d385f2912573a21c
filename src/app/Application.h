#pragma once

#include <QString>

#include <memory>

class BVController;
class MainInterface;

// The life of the process: class set-up, creation of the controller, loading and connecting
// the interface, launch, the event loop, and the quit path that SIGTERM, SIGINT and the end
// of the session take too.
class Application {
public:
    struct Options {
        QString libraryFolder; // --library: the library folder for this run
        bool showWindow = true;
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

private:
    void terminate();

    Options _options;
    std::unique_ptr<BVController> _controller;
    std::unique_ptr<MainInterface> _interface;
    bool _terminated = false;
};
