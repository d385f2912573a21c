// The window's layout, the About panel, the help pages and the tell-a-friend mail.
#include "app/AboutBox.h"
#include "app/BVController.h"

#include "platform/foundation/BundleResources.h"
#include "platform/foundation/Log.h"

#include <QDesktopServices>
#include <QSplitter>
#include <QUrl>

#include <algorithm>

void BVController::splitViewResizeSubviewsWithOldSize(QSplitter* splitView, QSize) {
    if (!splitView || splitView->count() != 2)
        return;
    // Both panes span the split view's width, which the splitter gives them itself.
    const float H = float(splitView->height());
    const float d = float(splitView->handleWidth());
    const float h = float(splitView->widget(1)->height());
    // The window's minimum size keeps this from going negative; should it still, the upper
    // pane closes and the lower one keeps what is left.
    const float upper = H - h - d;
    if (upper < 0) {
        splitView->setSizes({0, std::max(0, int(H - d))});
        return;
    }
    splitView->setSizes({int(upper), int(h)});
}

void BVController::showAboutBox(QObject* sender) {
    AboutBox::sharedInstance()->showPanel(sender);
}

void BVController::launchHelp(QObject*) {
    const QString index = BundleResources::path(QStringLiteral("help/index.html"));
    if (index.isEmpty()) {
        bvLog(QStringLiteral("help pages not found"));
        return;
    }
    // A file URL: blanks and other characters of the install path are encoded for us.
    QDesktopServices::openUrl(QUrl::fromLocalFile(index));
}

namespace {
QString tellAFriendMailLink() {
    const QString maker = QString::fromUtf8(kMakerName).replace(QLatin1Char(' '), "%20");
    return QStringLiteral("mailto:your.friend@example.com"
                          "?subject=Brevoir%20Rocks!&body=You%20can%20download%20a%20free%20copy"
                          "%20from%20") +
           maker + QStringLiteral(":%20") + QString::fromUtf8(kMakerWebAddress);
}
} // namespace

void BVController::emailFriend(QObject*) {
    if (QDesktopServices::openUrl(QUrl(tellAFriendMailLink())))
        bvLog(QStringLiteral("Email Loaded"));
}
