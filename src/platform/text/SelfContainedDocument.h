#pragma once

#include <QTextDocument>

// A document whose pictures come only from inside it: from resources added to it and from
// data: URLs in its own text. A path or link that HTML or Markdown names (<img src=...>, a
// background) is never opened, so a script's text cannot copy a file into a note, or hang on
// a pipe by naming one.
class SelfContainedDocument : public QTextDocument {
    Q_OBJECT

public:
    using QTextDocument::QTextDocument;

    // The bytes of a data: URL ("data:image/png;base64,..."); empty when it is not one.
    static QByteArray decodeDataUrl(const QUrl& url);

protected:
    QVariant loadResource(int type, const QUrl& name) override;
};
