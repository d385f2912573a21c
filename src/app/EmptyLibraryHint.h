#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;
class QLabel;
class QWidget;

// A short hint shown in the middle of the library list while the library holds no recording.
class EmptyLibraryHint : public QObject {
    Q_OBJECT

public:
    // `isEmpty` answers whether the library has no recording at all (a search that matches
    // nothing does not show the hint).
    EmptyLibraryHint(QAbstractItemView* list, std::function<bool()> isEmpty);

    QLabel* label() const { return _label; }
    void update();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchModel();

    QAbstractItemView* _list;
    // Kept apart from the list: the filter still hears the viewport while the list is being
    // destroyed, when the list can no longer be asked for it.
    QWidget* _viewport;
    std::function<bool()> _isEmpty;
    QLabel* _label;
};
