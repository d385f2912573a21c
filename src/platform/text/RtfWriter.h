#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

class QTextDocument;

// Rich Text Format, written from and read into a QTextDocument: what a rich-text editor
// holds (fonts, sizes, colours, emphasis, alignment, lists, links, images) survives a round
// trip, and other word processors read the result.
namespace Rtf {

// How images are written: referenced as attachment files of an RTFD folder, or embedded
// (\pict) for a lone .rtf file.
enum class Images { Attachments, Embedded };

struct Attachment {
    QString fileName; // unique within one document, safe as a file name, never "TXT.rtf"
    QByteArray bytes;
};

// Writes the whole document. With Images::Attachments, *attachments receives one entry per
// image; an image used twice is stored once. At most kMaxPictures pictures are written; how
// many more were left out goes to *picturesLeftOut.
QByteArray write(const QTextDocument& document, Images images,
                 std::vector<Attachment>* attachments = nullptr, int* picturesLeftOut = nullptr);

} // namespace Rtf
