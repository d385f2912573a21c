#include "app/ToolbarPalette.h"

#include "app/CustomizableToolbar.h"
#include "app/ToolbarCustomizationOverlay.h"
#include "platform/foundation/LocalizedString.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kColumns = 7;
constexpr int kImageSize = 32;

// How an item looks in the palette: its image, its widget, or the outline of a space.
QPixmap paletteImage(CustomizableToolbar& toolbar, QAction& item, const QString& identifier) {
    if (auto* hosted = qobject_cast<HostedWidgetAction*>(&item); hosted && hosted->hostedWidget())
        return hosted->hostedWidget()->grab();
    if (!item.icon().isNull())
        return item.icon().pixmap(kImageSize, kImageSize);
    const bool flexible = identifier == ToolbarStandardItems::FlexibleSpace;
    QPixmap image(flexible ? 3 * kImageSize : kImageSize, kImageSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setPen(QPen(toolbar.palette().color(QPalette::Mid), 1, Qt::DashLine));
    if (item.isSeparator())
        painter.drawLine(kImageSize / 2, 2, kImageSize / 2, kImageSize - 3);
    else
        painter.drawRect(image.rect().adjusted(1, 6, -2, -7));
    return image;
}

// One item of the palette, dragged out to be put into the toolbar.
class PaletteTile : public QWidget {
public:
    PaletteTile(const QString& identifier, const QPixmap& image, const QString& label)
        : _identifier(identifier), _image(image) {
        setObjectName(identifier);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 4, 4, 4);
        auto* picture = new QLabel;
        picture->setPixmap(image);
        picture->setAlignment(Qt::AlignCenter);
        picture->setMinimumHeight(kImageSize);
        auto* caption = new QLabel(label);
        caption->setAlignment(Qt::AlignCenter);
        layout->addWidget(picture, 1);
        layout->addWidget(caption);
        setCursor(Qt::OpenHandCursor);
        setToolTip(label);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { _pressedAt = event->position().toPoint(); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton) ||
            (event->position().toPoint() - _pressedAt).manhattanLength() <
                QApplication::startDragDistance())
            return;
        auto* mime = new QMimeData;
        mime->setData(ToolbarCustomizationOverlay::kIdentifierMimeType, _identifier.toUtf8());
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->setPixmap(_image);
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    }

private:
    QString _identifier;
    QPixmap _image;
    QPoint _pressedAt;
};
} // namespace

ToolbarPalette::ToolbarPalette(CustomizableToolbar* toolbar, QWidget* parent)
    : QDialog(parent), _toolbar(toolbar) {
    setObjectName(QStringLiteral("toolbarPalette"));
    setWindowTitle(BVLocalizedString("CustomizeToolbarTitle"));
    setAcceptDrops(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(BVLocalizedString("CustomizeToolbarHint")));
    auto* grid = new QGridLayout;
    grid->setSpacing(8);
    int index = 0;
    for (const QString& identifier : toolbar->arrangement().allowedItems()) {
        QAction* item = toolbar->paletteItem(identifier);
        if (!item)
            continue;
        grid->addWidget(new PaletteTile(identifier, paletteImage(*toolbar, *item, identifier),
                                        CustomizableToolbar::paletteLabel(item)),
                        index / kColumns, index % kColumns);
        ++index;
        delete item;
    }
    layout->addLayout(grid);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton* restore =
        buttons->addButton(BVLocalizedString("RestoreDefaults"), QDialogButtonBox::ResetRole);
    restore->setObjectName(QStringLiteral("restoreDefaults"));
    connect(restore, &QPushButton::clicked, toolbar, &CustomizableToolbar::restoreDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

void ToolbarPalette::dragEnterEvent(QDragEnterEvent* event) {
    // Toolbar items dragged back here leave the toolbar (the toolbar removes them).
    if (event->mimeData()->hasFormat(ToolbarCustomizationOverlay::kSourceIndexMimeType))
        event->acceptProposedAction();
}

void ToolbarPalette::dropEvent(QDropEvent* event) {
    if (event->mimeData()->hasFormat(ToolbarCustomizationOverlay::kSourceIndexMimeType))
        event->acceptProposedAction();
}
