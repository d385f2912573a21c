#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

#include <QDialog>
class QLabel;
class QTextBrowser;

namespace Ui {
class AboutBox;
}

// The maker of Brevoir, as the About panel and the tell-a-friend mail name it.
extern const char* const kMakerName;
extern const char* const kMakerWebAddress;

// The About panel's controller: one per process, created on first use and kept. The panel is
// loaded and filled once; showing it again brings the same panel to the front.
class AboutBox : public QObject {
    Q_OBJECT

public:
    static AboutBox* sharedInstance();

    void showPanel(QObject* sender);

    // Outlets, connected when the panel is loaded.
    QLabel* appNameField = nullptr;
    QLabel* copyrightField = nullptr;
    QTextBrowser* creditsField = nullptr;
    QLabel* versionField = nullptr;

    QDialog* panel() const { return _panel; }

    // Loads the panel's interface into the box and answers whether it could (tests make it
    // fail); unset: the compiled-in interface.
    using InterfaceLoader = std::function<bool(AboutBox&)>;
    static void setInterfaceLoaderForTesting(InterfaceLoader loader);

private:
    AboutBox();
    ~AboutBox() override;
    bool loadInterface();
    void fillPanel();

    QPointer<QDialog> _panel;
    std::unique_ptr<Ui::AboutBox> _ui;
};
