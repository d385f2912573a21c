#pragma once

#include "recording/ControllerTestSupport.h"
#include "support/TestEnvironment.h"

#include "app/CustomizableToolbar.h"
#include "ui_MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMainWindow>

// The real controller and window, the recorder on the fake capture layer and a settable clock,
// over a library folder of the test's own.
class WindowFixture : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        library = TestEnvironment::root() + QStringLiteral("/window-%1").arg(++runs);
        ASSERT_TRUE(QDir().mkpath(library + "/Recordings"));
    }
    void launch() {
        controller->setLibraryFolderOverride(library);
        controller->applicationDidFinishLaunching();
        window().show();
        window().activateWindow();
        QApplication::processEvents();
    }
    Ui::MainWindow& w() { return ui->mainUi(); }
    QMainWindow& window() { return *ui->window(); }
    CustomizableToolbar& toolbar() {
        return *qobject_cast<CustomizableToolbar*>(controller->toolbar());
    }
    void poll() { recorder()->doIdleProcessing(nullptr); }
    QLabel* hint() { return w().fileTableView->viewport()->findChild<QLabel*>("emptyLibraryHint"); }

    static inline int runs = 0;
    QString library;
};
