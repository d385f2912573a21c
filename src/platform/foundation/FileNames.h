#pragma once

#include <QByteArray>
#include <QString>

// File names as the file system's bytes. Qt decodes names as UTF-8 and turns every invalid byte
// into U+FFFD, so two different names can become one and neither can be opened again. These
// functions keep every name: an invalid byte travels as the lone surrogate U+DC80 + byte.
namespace FileNames {

// Valid UTF-8 decodes as usual; each byte of an invalid sequence becomes U+DC80 + byte.
QString decode(const QByteArray& bytes);
// The inverse: lone surrogates U+DC80..U+DCFF go back to their byte; everything else is UTF-8.
QByteArray encode(const QString& name);
// For showing to people: escaped bytes become U+FFFD.
QString displayName(const QString& name);
// encode() of a whole path (folder + "/" + name) whose folder came from Qt and whose name may
// carry escaped bytes.
QByteArray encodePath(const QString& path);
// Whether a name carries escaped bytes, i.e. cannot be handed to Qt's file classes as it is.
bool hasEscapedBytes(const QString& name);

} // namespace FileNames
