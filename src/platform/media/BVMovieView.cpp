#include "platform/media/BVMovieView.h"

#include "platform/foundation/FileNames.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/ThemeColours.h"
#include "platform/media/PlaybackEngine.h"
#include "platform/media/WaveformView.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <climits>

namespace {
// How often the transport follows the sound while it plays: its clock shows whole seconds.
constexpr int kRefreshMilliseconds = 250;
// What the arrow keys move by, and with Shift held.
constexpr int kStepMilliseconds = 5000;
constexpr int kLongStepMilliseconds = 30000;

// The position slider: a click on its groove goes there (not a page further), and with Shift
// the arrow keys take long steps.
class SeekSlider : public QSlider {
public:
    explicit SeekSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
        setSingleStep(kStepMilliseconds);
        setPageStep(kLongStepMilliseconds);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && maximum() > minimum()) {
            QStyleOptionSlider option;
            initStyleOption(&option);
            const QRect groove =
                style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
            const QRect handle =
                style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
            const QPoint at = event->position().toPoint();
            if (!handle.contains(at)) {
                // The handle comes to the click, and the press goes on to drag it from there.
                const int span = groove.width() - handle.width();
                setValue(QStyle::sliderValueFromPosition(minimum(), maximum(),
                                                         at.x() - groove.x() - handle.width() / 2,
                                                         span, option.upsideDown));
            }
        }
        QSlider::mousePressEvent(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const bool back = event->key() == Qt::Key_Left || event->key() == Qt::Key_Down;
        const bool on = event->key() == Qt::Key_Right || event->key() == Qt::Key_Up;
        if ((back || on) && event->modifiers() == Qt::ShiftModifier) {
            triggerAction(back ? SliderPageStepSub : SliderPageStepAdd);
            return;
        }
        QSlider::keyPressEvent(event);
    }
};

// "m:ss", or "h:mm:ss" from an hour on.
QString clockText(qint64 milliseconds) {
    const qint64 seconds = std::max<qint64>(0, milliseconds) / 1000;
    const qint64 h = seconds / 3600;
    const qint64 m = (seconds / 60) % 60;
    const qint64 s = seconds % 60;
    if (h > 0)
        return QStringLiteral("%1:%2:%3")
            .arg(h)
            .arg(m, 2, 10, QChar('0'))
            .arg(s, 2, 10, QChar('0'));
    return QStringLiteral("%1:%2").arg(m).arg(s, 2, 10, QChar('0'));
}
} // namespace

BVMovieView::BVMovieView(QWidget* parent) : QWidget(parent) {
    // Painting its own background keeps the transport's updates from repainting the window
    // behind it.
    setAutoFillBackground(true);
    _nameLabel = new QLabel(this);
    _nameLabel->setObjectName(QStringLiteral("fileNameLabel"));
    _nameLabel->setTextFormat(Qt::PlainText);
    _messageLabel = new QLabel(this);
    _messageLabel->setObjectName(QStringLiteral("messageLabel"));
    _messageLabel->setTextFormat(Qt::PlainText);
    _messageLabel->setWordWrap(true);
    ThemeColours::showAsNegative(_messageLabel);
    _messageLabel->hide();
    _elapsedLabel = new QLabel(clockText(0), this);
    _elapsedLabel->setObjectName(QStringLiteral("elapsedLabel"));
    _totalLabel = new QLabel(clockText(0), this);
    _totalLabel->setObjectName(QStringLiteral("totalLabel"));
    _slider = new SeekSlider(this);
    _slider->setObjectName(QStringLiteral("positionSlider"));
    _slider->setToolTip(BVLocalizedString("PositionSliderTip"));
    _slider->setAccessibleName(BVLocalizedString("PositionSliderName"));
    _slider->setEnabled(false);
    // The slider speaks for the player: focus given to the view goes to it.
    setFocusProxy(_slider);

    _waveform = new WaveformView(this);
    connect(_waveform, &WaveformView::seekRequested, this, &BVMovieView::seekToFraction);
    connect(_waveform, &WaveformView::stepRequested, this, &BVMovieView::step);

    auto* transport = new QHBoxLayout;
    transport->addWidget(_elapsedLabel);
    transport->addWidget(_slider, 1);
    transport->addWidget(_totalLabel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(_nameLabel);
    layout->addWidget(_messageLabel);
    layout->addWidget(_waveform);
    layout->addLayout(transport);

    _refreshTimer = new QTimer(this);
    _refreshTimer->setInterval(kRefreshMilliseconds);
    connect(_refreshTimer, &QTimer::timeout, this, &BVMovieView::refresh);

    // Dragging shows the time under the thumb and seeks on release; clicks on the groove and
    // the keyboard seek at once.
    connect(_slider, &QSlider::sliderMoved, this,
            [this](int milliseconds) { _elapsedLabel->setText(clockText(milliseconds)); });
    connect(_slider, &QSlider::sliderReleased, this, &BVMovieView::seekToSlider);
    connect(_slider, &QSlider::valueChanged, this, [this] {
        if (!_slider->isSliderDown())
            seekToSlider();
    });
}

BVMovieView::~BVMovieView() {
    if (_waveformCancel)
        _waveformCancel->store(true);
}

bool BVMovieView::setMovie(const QString& path) {
    auto engine = std::make_unique<PlaybackEngine>();
    QString error;
    if (!engine->open(path, &error)) {
        showMessage(BVLocalizedString("CannotPlay")
                        .arg(FileNames::displayName(QFileInfo(path).fileName()), error));
        return false;
    }
    _refreshTimer->stop();
    _engine = std::move(engine);
    _path = path;
    showMessage(QString());
    _nameLabel->setText(FileNames::displayName(QFileInfo(path).fileName()));
    const qint64 rate = timeScale();
    const qint64 total = rate > 0 ? duration() * 1000 / rate : 0;
    {
        const QSignalBlocker blocker(_slider);
        _slider->setRange(0, int(std::min<qint64>(total, INT_MAX)));
        _slider->setValue(0);
    }
    _slider->setEnabled(total > 0);
    _totalLabel->setText(clockText(total));
    showPosition(0);
    showWaveformOf(path);
    return true;
}

void BVMovieView::clearMovie() {
    _refreshTimer->stop();
    _engine.reset();
    _path.clear();
    showMessage(QString());
    _nameLabel->clear();
    {
        const QSignalBlocker blocker(_slider);
        _slider->setRange(0, 0);
    }
    _slider->setEnabled(false);
    _totalLabel->setText(clockText(0));
    showPosition(0);
    showWaveformOf(QString());
}

bool BVMovieView::hasMovie() const {
    return _engine != nullptr;
}

QString BVMovieView::moviePath() const {
    return _path;
}

void BVMovieView::start() {
    if (!_engine)
        return;
    QString error;
    if (!_engine->start(&error)) {
        showMessage(BVLocalizedString("SoundOutputUnavailable").arg(error));
        return;
    }
    _refreshTimer->start();
    refresh();
}

void BVMovieView::stop() {
    _refreshTimer->stop();
    if (!_engine)
        return;
    _engine->stop();
    refresh();
}

bool BVMovieView::isPlaying() const {
    return _engine && _engine->isPlaying();
}

qint64 BVMovieView::currentTime() const {
    return _engine ? _engine->position() : 0;
}

qint64 BVMovieView::timeScale() const {
    return _engine ? _engine->sampleRate() : 0;
}

qint64 BVMovieView::duration() const {
    return _engine ? _engine->duration() : 0;
}

void BVMovieView::seek(qint64 time) {
    if (!_engine)
        return;
    _engine->seek(time);
    if (_engine->isPlaying() && !_refreshTimer->isActive())
        _refreshTimer->start();
    refresh();
}

QString BVMovieView::message() const {
    return _messageLabel->text();
}

void BVMovieView::refresh() {
    if (!_engine)
        return;
    const bool ended = _engine->update() && _refreshTimer->isActive();
    showPosition(_engine->position());
    if (ended) {
        _refreshTimer->stop();
        emit finished();
    }
}

void BVMovieView::showMessage(const QString& text) {
    _messageLabel->setText(text);
    _messageLabel->setVisible(!text.isEmpty());
}

void BVMovieView::seekToSlider() {
    const qint64 rate = timeScale();
    if (rate > 0)
        seek(qint64(_slider->value()) * rate / 1000);
}

void BVMovieView::showWaveformOf(const QString& path) {
    using WaveformPeaks::Overview;
    if (_waveformCancel)
        _waveformCancel->store(true);
    _waveformCancel.reset();
    _waveform->setOverview(path.isEmpty() ? nullptr : WaveformPeaks::cached(path));
    if (path.isEmpty())
        return;
    if (_waveform->hasOverview()) {
        emit waveformShown();
        return;
    }
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    _waveformCancel = cancel;
    auto* watcher = new QFutureWatcher<std::shared_ptr<const Overview>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path, cancel] {
        watcher->deleteLater();
        const std::shared_ptr<const Overview> overview = watcher->result();
        if (cancel->load() || !overview || overview->peaks.empty())
            return;
        WaveformPeaks::keep(path, overview);
        if (path != _path)
            return;
        _waveform->setOverview(overview);
        emit waveformShown();
    });
    watcher->setFuture(QtConcurrent::run([path, cancel] {
        return std::make_shared<const Overview>(WaveformPeaks::compute(path, cancel.get()));
    }));
}

void BVMovieView::seekToFraction(double fraction) {
    seek(qint64(std::llround(fraction * double(duration()))));
}

void BVMovieView::step(int direction, bool longStep) {
    const qint64 rate = timeScale();
    if (rate <= 0)
        return;
    const qint64 ms = direction * (longStep ? kLongStepMilliseconds : kStepMilliseconds);
    seek(std::clamp<qint64>(currentTime() + ms * rate / 1000, 0, duration()));
}

void BVMovieView::showPosition(qint64 time) {
    const qint64 rate = timeScale();
    const qint64 milliseconds = rate > 0 ? time * 1000 / rate : 0;
    const QString elapsed = clockText(milliseconds);
    if (elapsed != _elapsedLabel->text() || _slider->accessibleDescription().isEmpty()) {
        // A screen reader hears where it is in words, not the slider's milliseconds.
        _slider->setAccessibleDescription(
            BVLocalizedString("PositionOfDuration").arg(elapsed, _totalLabel->text()));
    }
    _elapsedLabel->setText(elapsed);
    _waveform->setPosition(duration() > 0 ? double(time) / double(duration()) : 0.0);
    if (!_slider->isSliderDown()) {
        const QSignalBlocker blocker(_slider);
        _slider->setValue(int(std::min<qint64>(milliseconds, _slider->maximum())));
    }
}
