#pragma once

#include <QString>

class QTextDocument;

// A line-per-paragraph description of what a reader of the document sees: text, character
// and paragraph formats, lists (numbered in order of appearance) and images (by their
// decoded pixels). Formats that look the same are described the same, however they are set.
QString describeDocument(const QTextDocument& document);
