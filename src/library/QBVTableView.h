#pragma once

#include <QTableView>

// The library table. Recordings dragged out of it may be copied by other applications.
class QBVTableView : public QTableView {
    Q_OBJECT

public:
    explicit QBVTableView(QWidget* parent = nullptr);
};
