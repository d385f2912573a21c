#pragma once

#include <QObject>

// The script commands: each is created for one command a script sends and forwards it to the
// application controller's handler, answering no result. Scripts thus get exactly what the
// toolbar and buttons do.
class BVScriptCommand : public QObject {
    Q_OBJECT

public:
    // Sends the controller's handler; answers no result (an invalid QVariant).
    virtual QVariant performDefaultImplementation() = 0;
};

class BVStartCommand : public BVScriptCommand {
    Q_OBJECT
public:
    QVariant performDefaultImplementation() override;
};

// Stop goes through the record toggle, like a second press of the record button.
class BVStopCommand : public BVScriptCommand {
    Q_OBJECT
public:
    QVariant performDefaultImplementation() override;
};

class BVPauseCommand : public BVScriptCommand {
    Q_OBJECT
public:
    QVariant performDefaultImplementation() override;
};

class BVSnipCommand : public BVScriptCommand {
    Q_OBJECT
public:
    QVariant performDefaultImplementation() override;
};

class BVSyncItunesCommand : public BVScriptCommand {
    Q_OBJECT
public:
    QVariant performDefaultImplementation() override;
};
