#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "convert/file_conversion.h"

// The program's command line: "quillpost [FILE]", or "quillpost --to-html
// FILE [-o OUT]" and "--to-text" for a conversion without a window. Read
// before the window system is reached, so that --help, --version, the
// conversions and mistakes are answered on the terminal without a display.
struct CommandLine {
    // Set when the program should stop at once: print `output` (to standard
    // error when `toStandardError`) and exit with `exitStatus`.
    std::optional<int> exitStatus;
    QString output;
    bool toStandardError = false;
    // The document to open at start, as an absolute path.
    std::optional<QString> file;
    // A conversion to run instead of the window, from `inputFile` ("-": the
    // standard input) to `outputFile` ("-": the standard output).
    std::optional<convert::FileConversion> conversion;
    QString inputFile;
    QString outputFile;
};

// `arguments` as the process received them, the program's name first. Qt's
// own window-system options (-platform, -display, -style …) are accepted and
// left to the application object.
CommandLine ParseCommandLine(const QStringList& arguments);

// The process's arguments as text.
QStringList ArgumentsOf(int argc, char* argv[]);

// Prints `line.output` where it belongs; returns the exit status.
int PrintAndExit(const CommandLine& line);

// Runs `line.conversion`; returns the exit status, 1 with the reason on
// standard error when a file cannot be read or written.
int RunConversion(const CommandLine& line);
