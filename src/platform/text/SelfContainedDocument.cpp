#include "platform/text/SelfContainedDocument.h"

#include <QUrl>

QByteArray SelfContainedDocument::decodeDataUrl(const QUrl& url) {
    if (url.scheme().compare(QLatin1String("data"), Qt::CaseInsensitive) != 0)
        return {};
    const QByteArray body = url.path(QUrl::FullyEncoded).toLatin1();
    const qsizetype comma = body.indexOf(',');
    if (comma < 0)
        return {};
    const QByteArray payload = QByteArray::fromPercentEncoding(body.mid(comma + 1));
    if (!body.left(comma).endsWith(";base64"))
        return payload;
    auto decoded = QByteArray::fromBase64Encoding(payload, QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}

QVariant SelfContainedDocument::loadResource(int type, const QUrl& name) {
    const QByteArray bytes = decodeDataUrl(name);
    if (bytes.isEmpty())
        return {};
    // Kept, so that a picture used many times is decoded once.
    addResource(type, name, bytes);
    return bytes;
}
