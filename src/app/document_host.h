#pragma once

#include <QString>

#include "text/document_file.h"

class QTextDocument;

// What crash recovery needs of the window holding the document: the text to
// watch and read, the file it is bound to and its encoding, a way to put a
// recovered text back, and a place to tell the user how the copies fare.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    virtual QTextDocument& hostedDocument() = 0;
    // The bound file's path, or the untitled marker.
    virtual QString currentFileName() const = 0;
    virtual text::FileEncoding fileEncoding() const = 0;
    // Puts a recovered document back: modified, bound to its file.
    virtual void restoreDocument(const QString& text, const QString& fileName,
                                 text::FileEncoding encoding) = 0;
    // Shows a short notice about the recovery copies where the user sees it
    // without being stopped; an empty text takes it away.
    virtual void showRecoveryNotice(const QString& text) = 0;
};
