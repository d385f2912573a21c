// Stub until the playback work lands.
#include "platform/media/BVMovieView.h"

BVMovieView::BVMovieView(QWidget* parent) : QWidget(parent) {}
BVMovieView::~BVMovieView() = default;
bool BVMovieView::setMovie(const QString&) { return false; }
void BVMovieView::clearMovie() {}
bool BVMovieView::hasMovie() const { return false; }
QString BVMovieView::moviePath() const { return {}; }
void BVMovieView::start() {}
void BVMovieView::stop() {}
bool BVMovieView::isPlaying() const { return false; }
qint64 BVMovieView::currentTime() const { return 0; }
qint64 BVMovieView::timeScale() const { return 0; }
