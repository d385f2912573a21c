#include "platform/foundation/RovingFocus.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

RovingFocus::RovingFocus(const QList<QWidget*>& members, QObject* parent) : QObject(parent) {
    for (QWidget* member : members) {
        if (!member)
            continue;
        _members << member;
        member->installEventFilter(this);
        member->setFocusPolicy(Qt::ClickFocus);
    }
    keepCurrentUsable();
}

bool RovingFocus::canTakeFocus(const QWidget* member) const {
    return member && member->isEnabled() && !member->isHidden();
}

void RovingFocus::makeCurrent(QWidget* member) {
    if (_current == member)
        return;
    if (_current)
        _current->setFocusPolicy(Qt::ClickFocus);
    _current = member;
    if (member)
        member->setFocusPolicy(Qt::StrongFocus);
}

void RovingFocus::keepCurrentUsable() {
    if (canTakeFocus(_current))
        return;
    for (const QPointer<QWidget>& member : _members) {
        if (canTakeFocus(member)) {
            makeCurrent(member);
            return;
        }
    }
    // None can act now: the one we have waits for its turn.
    if (!_current && !_members.isEmpty())
        makeCurrent(_members.first());
}

void RovingFocus::move(QWidget* from, int step) {
    const int count = int(_members.size());
    int at = int(_members.indexOf(from));
    for (int i = 0; i < count; ++i) {
        at = (at + step + count) % count;
        if (canTakeFocus(_members[at])) {
            makeCurrent(_members[at]);
            _members[at]->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

bool RovingFocus::eventFilter(QObject* watched, QEvent* event) {
    auto* member = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        makeCurrent(member);
        break;
    case QEvent::EnabledChange:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        keepCurrentUsable();
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier)
            break;
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Up) {
            move(member, -1);
            return true;
        }
        if (key->key() == Qt::Key_Right || key->key() == Qt::Key_Down) {
            move(member, 1);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}
