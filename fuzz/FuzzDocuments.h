#pragma once

#include <QGuiApplication>
#include <QTextDocument>

// For the targets that read into documents.
namespace FuzzDocuments {

// Documents hold fonts and images, which want a GUI application; the offscreen one will do.
inline void makeApplication(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
}

// The text a reader must keep across a write and a read: pictures may be left out.
inline QString visibleText(const QTextDocument& document) {
    return document.toRawText().remove(QChar::ObjectReplacementCharacter);
}

} // namespace FuzzDocuments
