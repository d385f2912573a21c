#include "platform/foundation/FileNames.h"

#include <QUtf8StringView>

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // an invalid byte b (0x80..0xFF) becomes kEscapeBase + b

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at bytes[i] (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0 if there is none.
int sequenceLength(const QByteArray& bytes, qsizetype i) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    const qsizetype left = bytes.size() - i;
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (left < length || at(i + 1) < low || at(i + 1) > high)
        return 0;
    for (int k = 2; k < length; ++k) {
        if (!isContinuation(at(i + k)))
            return 0;
    }
    return length;
}

bool isEscape(char16_t unit) {
    return unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
}

} // namespace

namespace FileNames {

QString decode(const QByteArray& bytes) {
    // Most text is valid UTF-8 without a byte-order mark: Qt's decoder reads it the same, at
    // once (a long playlist is megabytes of it).
    if (QUtf8StringView(bytes).isValidUtf8() && !bytes.contains("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes);
    QString name;
    name.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = sequenceLength(bytes, i);
        if (length == 0) {
            name.append(QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i]))));
            ++i;
            continue;
        }
        // The UTF-8 decoder takes a byte-order mark as a header and drops it; in a name it is
        // a character like any other.
        if (length == 3 && bytes.mid(i, 3) == "\xEF\xBB\xBF")
            name.append(QChar(char16_t(0xFEFF)));
        else
            name.append(QString::fromUtf8(bytes.constData() + i, length));
        i += length;
    }
    return name;
}

QByteArray encode(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0; // start of the stretch of ordinary text not yet encoded
    const auto flush = [&](qsizetype end) {
        if (end > runStart)
            bytes.append(QStringView(name).mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        // A low surrogate right after a high one is half of a real character, not an escape.
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (!isEscape(unit) || paired)
            continue;
        flush(i);
        bytes.append(static_cast<char>(unit - kEscapeBase));
        runStart = i + 1;
    }
    flush(name.size());
    return bytes;
}

QString displayName(const QString& name) {
    if (!hasEscapedBytes(name))
        return name;
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (isEscape(shown[i].unicode()) && !paired)
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

QByteArray encodePath(const QString& path) {
    return encode(path);
}

bool hasEscapedBytes(const QString& name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        const bool paired = i > 0 && name[i - 1].isHighSurrogate();
        if (isEscape(name[i].unicode()) && !paired)
            return true;
    }
    return false;
}

} // namespace FileNames
