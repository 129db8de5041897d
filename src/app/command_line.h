#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The program's command line: "quillpost [FILE]". Read before the window
// system is reached, so that --help, --version and mistakes are answered on
// the terminal without a display.
struct CommandLine {
    // Set when the program should stop at once: print `output` (to standard
    // error when `toStandardError`) and exit with `exitStatus`.
    std::optional<int> exitStatus;
    QString output;
    bool toStandardError = false;
    // The document to open at start, as an absolute path.
    std::optional<QString> file;
};

// `arguments` as the process received them, the program's name first. Qt's
// own window-system options (-platform, -display, -style …) are accepted and
// left to the application object.
CommandLine ParseCommandLine(const QStringList& arguments);

// The process's arguments as text.
QStringList ArgumentsOf(int argc, char* argv[]);

// Prints `line.output` where it belongs; returns the exit status.
int PrintAndExit(const CommandLine& line);
