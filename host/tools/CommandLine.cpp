#include "CommandLine.h"

#include "error/Error.h"

#include <QCoreApplication>
#include <cstdio>

namespace bryx::host {

QCommandLineOption databaseOption()
{
    return QCommandLineOption(QStringLiteral("database"), QStringLiteral("The reference database."),
                              QStringLiteral("URL"));
}

void parseArguments(QCommandLineParser& parser, const QStringList& arguments, qsizetype maxPositional)
{
    // Options are words after two dashes; a single dash would otherwise split "-names" into
    // letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    if (!parser.parse(arguments))
        throw UsageError(parser.errorText());
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > maxPositional)
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(positional[maxPositional]));
}

DatabaseUrl databaseArgument(const QCommandLineParser& parser, const DatabaseUrl& fallback)
{
    if (!parser.isSet(QStringLiteral("database")))
        return fallback;
    try {
        return DatabaseUrl::parse(parser.value(QStringLiteral("database")));
    } catch (const Error& error) {
        throw UsageError(error.Description());
    }
}

int runTool(int argc, char** argv, const char* toolName, const char* help,
            const std::function<int(const QStringList& arguments)>& body)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        std::fputs(help, stdout);
        return 0;
    }
    if (arguments.contains(QLatin1String("--version"))) {
        std::printf("%s %s\n", toolName, BRYX_VERSION);
        return 0;
    }
    try {
        return body(arguments);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "%s: %s (see %s --help)\n", toolName, error.what(), toolName);
        return 2;
    } catch (const Error& error) {
        std::fprintf(stderr, "%s: %s\n", toolName, error.Description().toLocal8Bit().constData());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", toolName, error.what());
        return 1;
    }
}

} // namespace bryx::host
