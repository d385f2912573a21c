#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QWidget;

// Makes a row of controls one stop of the Tab chain, as toolbars and button groups are for
// keyboard users: Tab comes to the control used last (or the first that can act), the arrow
// keys move among the controls, and Tab goes on to what follows the row.
class RovingFocus : public QObject {
    Q_OBJECT

public:
    RovingFocus(const QList<QWidget*>& members, QObject* parent);

    // The member that Tab comes to.
    QWidget* current() const { return _current; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool canTakeFocus(const QWidget* member) const;
    void makeCurrent(QWidget* member);
    // A current member that can no longer act hands its place to one that can.
    void keepCurrentUsable();
    void move(QWidget* from, int step);

    QList<QPointer<QWidget>> _members;
    QPointer<QWidget> _current;
};
