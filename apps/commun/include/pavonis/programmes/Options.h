#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>

namespace pavonis::programmes {

// The help option: -h, --help.
QCommandLineOption optionAide();

// Parses the command line of a program with the options of `parser` (one of
// them optionAide()). Its messages are in French, also before the program
// has made its application object (a program that picks its display from
// its options). On an error, writes "<program>: <reason>" and a hint to the
// standard error and returns 2; with --help, writes `aide` to the standard
// output and returns 0; otherwise returns nothing and the program goes on.
std::optional<int> analyser(QCommandLineParser& parser, int argc, char** argv, const char* aide);

// What a program writes where a user reads: a full disk on a file is an
// error, ending a write past the file size limit with a message and not a
// signal.
void preparerSorties();

} // namespace pavonis::programmes
