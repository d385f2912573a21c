#include "library/QBVTableView.h"

QBVTableView::QBVTableView(QWidget* parent) : QTableView(parent) {}
