#include "app/AboutBox.h"

#include "platform/foundation/Beep.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"
#include "platform/text/RtfReader.h"
#include "ui_AboutBox.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QScreen>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

const char* const kMakerName = "The Brevoir Developers";
const char* const kMakerWebAddress = "https://brevoir.org/";

namespace {
AboutBox* sharedAboutBox = nullptr;

AboutBox::InterfaceLoader& interfaceLoader() {
    static AboutBox::InterfaceLoader loader;
    return loader;
}
} // namespace

AboutBox* AboutBox::sharedInstance() {
    if (!sharedAboutBox)
        sharedAboutBox = new AboutBox;
    return sharedAboutBox;
}

void AboutBox::setInterfaceLoaderForTesting(InterfaceLoader loader) {
    interfaceLoader() = std::move(loader);
}

AboutBox::AboutBox() = default;
AboutBox::~AboutBox() = default;

bool AboutBox::loadInterface() {
    if (interfaceLoader())
        return interfaceLoader()(*this);
    _panel = new QDialog;
    _ui = std::make_unique<Ui::AboutBox>();
    _ui->setupUi(_panel);
    appNameField = _ui->appNameField;
    copyrightField = _ui->copyrightField;
    creditsField = _ui->creditsField;
    versionField = _ui->versionField;
    return true;
}

void AboutBox::showPanel(QObject*) {
    if (!appNameField) {
        if (!loadInterface() || !appNameField) {
            bvLog(QStringLiteral("Failed to load AboutBox.nib"));
            Beep();
            return;
        }
        fillPanel();
    }
    QWidget* panel = appNameField->window();
    panel->show();
    panel->raise();
    panel->activateWindow();
}

void AboutBox::fillPanel() {
    QWidget* panel = appNameField->window();
    const QString name = BVLocalizedString("CFBundleName");
    QFont large = appNameField->font();
    large.setBold(true);
    large.setPointSizeF(large.pointSizeF() * 1.6);
    appNameField->setFont(large);
    appNameField->setText(name);
    panel->setWindowTitle(BVLocalizedString("AboutTitle").arg(name));
    if (versionField)
        versionField->setText(
            BVLocalizedString("VersionFormat").arg(QStringLiteral(BREVOIR_VERSION)));

    QFile credits(QStringLiteral(":/Credits.rtf"));
    QTextDocument styled;
    if (creditsField && credits.open(QIODevice::ReadOnly) &&
        Rtf::read(credits.readAll(), &styled)) {
        QTextCursor start(creditsField->document());
        start.movePosition(QTextCursor::Start);
        start.insertFragment(QTextDocumentFragment(&styled));
        creditsField->moveCursor(QTextCursor::Start); // shown from the top
    }
    if (copyrightField)
        copyrightField->setText(BVLocalizedString("NSHumanReadableCopyright"));

    if (_ui && !QApplication::windowIcon().isNull())
        _ui->iconView->setPixmap(QApplication::windowIcon().pixmap(64, 64));
    else if (_ui)
        _ui->iconView->hide();
    panel->adjustSize();
    if (const QScreen* screen = panel->screen()) {
        QRect frame = panel->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        panel->move(frame.topLeft());
    }
}
