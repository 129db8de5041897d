#pragma once

#include <QString>

// The fixed texts of the help dialog's pages, one line per "\n". Leading
// and trailing spaces are part of the layout of the page.
namespace help {

QString VersionNotes();  // Label3, version page
QString UsageText();     // Label4, usage page
QString CautionsText();  // Label5, cautions page

}  // namespace help
