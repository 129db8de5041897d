#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "text/document_file.h"

namespace text {

// A copy of an unsaved document, kept so that a crash or a kill loses at
// most the last second or two of typing.
struct RecoveryCopy {
    QString text;      // line breaks are "\n"; kept exactly, placeholders too
    QString fileName;  // the file the document is bound to, or the untitled marker
    FileEncoding encoding = FileEncoding::Big5;
};

// Writes a copy atomically (a temporary file renamed over the old copy),
// readable by its owner only. The text may be given in pieces; paragraph
// separators in it are stored as "\n".
bool WriteRecoveryCopy(const QString& path, const QStringList& textPieces, const QString& fileName,
                       FileEncoding encoding);
// Nothing when the file is missing, truncated or not a recovery copy.
std::optional<RecoveryCopy> ReadRecoveryCopy(const QString& path);

}  // namespace text
