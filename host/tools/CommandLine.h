#pragma once

#include "db/DatabaseUrl.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>

namespace bryx::host {

// A wrong command line: the tools print the message on one line and exit with status 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString())
    {
    }
};

// The --database option every tool takes.
QCommandLineOption databaseOption();
// Parses the arguments (the program name first) with the parser's options; an unknown option,
// a missing value or more than `maxPositional` further arguments throws UsageError.
void parseArguments(QCommandLineParser& parser, const QStringList& arguments, qsizetype maxPositional);
// The --database value, or `fallback` when none was given; throws UsageError with the URL
// parser's reason.
DatabaseUrl databaseArgument(const QCommandLineParser& parser, const DatabaseUrl& fallback);

// A tool's main: prints `help` for --help or -h and the version for --version, otherwise runs the body with
// the arguments, turning usage errors into exit status 2 and every other error (the database's, above all)
// into exit status 1, each with one clear line on standard error.
int runTool(int argc, char** argv, const char* toolName, const char* help,
            const std::function<int(const QStringList& arguments)>& body);

} // namespace bryx::host
