#include "platform/media/MediaErrors.h"

#include "platform/foundation/LocalizedString.h"
#include "platform/foundation/Log.h"

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>

namespace MediaErrors {

QString plainWords(int code) {
    char technical[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, technical, sizeof technical);
    bvLog(QStringLiteral("media error %1: %2").arg(code).arg(QString::fromUtf8(technical)));
    switch (code) {
    case AVERROR(ENOENT):
        return BVLocalizedString("MediaFileGone");
    case AVERROR(EACCES):
    case AVERROR(EPERM):
        return BVLocalizedString("MediaNoPermission");
    case AVERROR(ENOSPC):
    case AVERROR(EDQUOT):
        return BVLocalizedString("MediaDiskFull");
    case AVERROR(EIO):
        return BVLocalizedString("MediaDiskError");
    case AVERROR(ENOMEM):
        return BVLocalizedString("OutOfMemory");
    case AVERROR_INVALIDDATA:
    case AVERROR_EOF:
        return BVLocalizedString("MediaDamaged");
    case AVERROR_DECODER_NOT_FOUND:
    case AVERROR_DEMUXER_NOT_FOUND:
    case AVERROR_PATCHWELCOME:
    case AVERROR(ENOSYS):
        return BVLocalizedString("DecoderFormatUndecodable");
    case AVERROR_ENCODER_NOT_FOUND:
    case AVERROR_MUXER_NOT_FOUND:
        return BVLocalizedString("MediaCannotWriteKind");
    default:
        break;
    }
    // Something rarer: said plainly, with the library's words for whoever helps.
    return BVLocalizedString("MediaOtherProblem").arg(QString::fromUtf8(technical));
}

} // namespace MediaErrors
