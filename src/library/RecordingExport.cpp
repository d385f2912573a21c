#include "library/RecordingExport.h"

#include "library/NoteStore.h"
#include "platform/foundation/FilePath.h"
#include "platform/foundation/LocalizedString.h"
#include "platform/playlists/BackgroundCall.h"
#include "platform/playlists/FileImport.h"

#include <QTextDocument>

#include <sys/stat.h>

namespace {
// Apple Lossless shares AAC's extension and is not what people pass around.
bool isShared(const AudioEncoder& encoder) {
    return encoder.title != QLatin1String("Apple Lossless");
}
} // namespace

std::vector<AudioEncoder> RecordingExport::formats() {
    std::vector<AudioEncoder> shared;
    for (const AudioEncoder& encoder : availableAudioEncoders())
        if (isShared(encoder))
            shared.push_back(encoder);
    return shared;
}

std::optional<AudioEncoder> RecordingExport::formatWithTitle(const QString& title) {
    for (const AudioEncoder& format : formats())
        if (format.title == title)
            return format;
    return std::nullopt;
}

std::optional<AudioEncoder> RecordingExport::formatForExtension(const QString& extension) {
    for (const AudioEncoder& format : formats())
        if (format.extension.compare(extension, Qt::CaseInsensitive) == 0)
            return format;
    return std::nullopt;
}

QString RecordingExport::commentOfNote(const NoteStore& notes, const QString& recordingName) {
    QTextDocument document;
    if (notes.load(recordingName, &document).status != NoteStore::Loaded::Read)
        return QString();
    const QStringList lines = document.toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        if (!line.trimmed().isEmpty())
            return line.trimmed();
    return QString();
}

QString RecordingExport::targetOfFile(const QString& file, Target* target, AudioEncoder* format) {
    const FilePath path = FilePath::fromString(file);
    const QString name = path.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? name.mid(dot + 1) : QString();
    const std::optional<AudioEncoder> found = formatForExtension(extension);
    if (!found) {
        QStringList known;
        for (const AudioEncoder& each : formats())
            known << QLatin1Char('.') + each.extension;
        return BVLocalizedString("ExportUnknownExtension").arg(path.display(), known.join(u", "));
    }
    struct stat info;
    if (::stat(path.parent().c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return BVLocalizedString("ExportNoFolder").arg(path.parent().display());
    if (::lstat(path.c_str(), &info) == 0)
        return BVLocalizedString("ExportFileExists").arg(path.display());
    *format = *found;
    target->folder = path.parent().toString();
    target->fileStem = path.fileName().left(path.fileName().size() - extension.size() - 1);
    target->numbered = false;
    return QString();
}

RecordingExportJob::RecordingExportJob(std::vector<RecordingExport::Item> items,
                                       RecordingExport::Target target, AudioEncoder format,
                                       QObject* parent)
    : QObject(parent), _items(std::move(items)), _target(std::move(target)),
      _format(std::move(format)) {}

RecordingExportJob::~RecordingExportJob() {
    cancel();
    if (_worker)
        _worker->wait();
}

void RecordingExportJob::cancel() {
    _abort = true;
}

void RecordingExportJob::start() {
    _worker = new BackgroundCall(this);
    connect(_worker, &BackgroundCall::finished, this, [this] {
        const QString problem =
            _outcome->failedTitle.isEmpty()
                ? QString()
                : BVLocalizedString("ExportFailed").arg(_outcome->failedTitle, _outcome->reason);
        emit finished(_outcome->written, problem, _outcome->cancelled);
    });
    _worker->start([this] { run(); });
}

void RecordingExportJob::run() {
    const int total = count();
    for (int index = 0; index < total; ++index) {
        if (_abort.load()) {
            _outcome->cancelled = true;
            return;
        }
        const RecordingExport::Item& item = _items[size_t(index)];
        QMetaObject::invokeMethod(
            this,
            [this, index, total, title = item.title] { emit progressChanged(index, total, title); },
            Qt::QueuedConnection);
        FileImport::Options options;
        options.fileStem = _target.fileStem;
        options.numbered = _target.numbered;
        options.comment = item.comment;
        const FileImport::Result result = FileImport::importInto(
            item.source, item.title, _target.folder, _format, &_abort, options);
        if (!result.path.isEmpty()) {
            _outcome->written << result.path;
            continue;
        }
        if (_abort.load())
            _outcome->cancelled = true;
        else
            *_outcome = {_outcome->written, item.title, result.error, false};
        return;
    }
}
