#pragma once

#include <QObject>

#include <functional>

class QAbstractItemView;
class QLabel;

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
    std::function<bool()> _isEmpty;
    QLabel* _label;
};
