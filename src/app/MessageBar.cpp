#include "app/MessageBar.h"

#include "app/WrappingStatusBar.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/ThemeColours.h"

#include <QAccessible>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QStyle>
#include <QToolButton>

namespace {
// The colour a kind of message is tinted with; the bar mixes it into the window colour so that
// the palette's text colour stays readable on it, light theme or dark.
QColor tintOf(MessageBar::Kind kind) {
    switch (kind) {
    case MessageBar::Kind::Information:
        return QColor(0x3d, 0xae, 0xe9);
    case MessageBar::Kind::Warning:
        return QColor(0xf6, 0x74, 0x00);
    case MessageBar::Kind::Error:
        return QColor(0xda, 0x44, 0x53);
    }
    return QColor();
}

QStyle::StandardPixmap iconOf(MessageBar::Kind kind) {
    switch (kind) {
    case MessageBar::Kind::Information:
        return QStyle::SP_MessageBoxInformation;
    case MessageBar::Kind::Warning:
        return QStyle::SP_MessageBoxWarning;
    case MessageBar::Kind::Error:
        return QStyle::SP_MessageBoxCritical;
    }
    return QStyle::SP_MessageBoxInformation;
}
} // namespace

MessageBar::MessageBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("messageBar"));
    setAccessibleName(BVLocalizedString("MessageBarName"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 6, 6);
    layout->setSpacing(8);
    _icon = new QLabel(this);
    _icon->setAlignment(Qt::AlignTop);
    layout->addWidget(_icon);
    _text = new QLabel(this);
    _text->setObjectName(QStringLiteral("messageText"));
    _text->setTextFormat(Qt::PlainText);
    // Wrapped, never cut: a long path or reason takes another line.
    _text->setWordWrap(true);
    _text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _text->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    layout->addWidget(_text, 1);
    _buttons = new QHBoxLayout;
    _buttons->setSpacing(6);
    layout->addLayout(_buttons);
    _close = new QToolButton(this);
    _close->setObjectName(QStringLiteral("messageClose"));
    _close->setAutoRaise(true);
    _close->setIcon(QIcon::fromTheme(QStringLiteral("window-close"),
                                     style()->standardIcon(QStyle::SP_TitleBarCloseButton)));
    _close->setAccessibleName(BVLocalizedString("MessageBarClose"));
    _close->setToolTip(BVLocalizedString("MessageBarClose"));
    layout->addWidget(_close, 0, Qt::AlignTop);
    connect(_close, &QToolButton::clicked, this, &MessageBar::dismiss);
    hide();
}

MessageBar::~MessageBar() = default;

void MessageBar::showMessage(const QString& topic, Kind kind, const QString& text,
                             std::vector<Action> actions) {
    std::erase_if(_messages, [&topic](const Message& m) { return m.topic == topic; });
    _messages.push_back({topic, kind, text, std::move(actions)});
    present();
    // Screen readers read the new message out, as they do an alert.
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void MessageBar::clearMessage(const QString& topic) {
    const auto before = _messages.size();
    std::erase_if(_messages, [&topic](const Message& m) { return m.topic == topic; });
    if (_messages.size() != before)
        present();
}

QString MessageBar::text() const {
    return _messages.empty() ? QString() : _messages.back().text;
}

QString MessageBar::topic() const {
    return _messages.empty() ? QString() : _messages.back().topic;
}

MessageBar::Kind MessageBar::kind() const {
    return _messages.empty() ? Kind::Information : _messages.back().kind;
}

QList<QPushButton*> MessageBar::actionButtons() const {
    QList<QPushButton*> buttons;
    for (int i = 0; i < _buttons->count(); ++i)
        if (auto* button = qobject_cast<QPushButton*>(_buttons->itemAt(i)->widget()))
            buttons << button;
    return buttons;
}

void MessageBar::present() {
    while (QLayoutItem* item = _buttons->takeAt(0)) {
        // Later: the button may be the one whose click is being handled now.
        item->widget()->hide();
        item->widget()->deleteLater();
        delete item;
    }
    if (_messages.empty()) {
        hide();
        return;
    }
    const Message& message = _messages.back();
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    _icon->setPixmap(style()->standardIcon(iconOf(message.kind)).pixmap(side, side));
    _text->setText(WrappingStatusBar::wrappable(message.text));
    setAccessibleDescription(message.text);
    const QString topic = message.topic;
    for (const Action& action : message.actions) {
        auto* button = new QPushButton(action.text, this);
        _buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this, [run = action.run] {
            if (run)
                run();
        });
    }
    show();
    fitText();
    update();
}

void MessageBar::fitText() {
    // Tall enough for every line the text wraps into at this width: never cut at the bottom,
    // whatever the window's layout would rather give.
    QLayout* rows = layout();
    if (!rows || !rows->hasHeightForWidth() || width() <= 0)
        return;
    const int needed = rows->totalHeightForWidth(width());
    if (needed != minimumHeight())
        setMinimumHeight(needed);
}

void MessageBar::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    fitText();
}

void MessageBar::dismiss() {
    if (_messages.empty())
        return;
    _messages.pop_back();
    present();
}

void MessageBar::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QColor tint = tintOf(kind());
    const bool dark = ThemeColours::isDark(colours);
    const QColor window = colours.color(QPalette::Window);
    painter.setPen(QPen(ThemeColours::mix(window, tint, 0.7), 1));
    painter.setBrush(ThemeColours::mix(window, tint, dark ? 0.25 : 0.18));
    painter.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), 4, 4);
}

void MessageBar::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        present();
}
