#include "CommandLine.h"

#include "error/Error.h"

#include <QCoreApplication>
#include <cstdio>

namespace bryx::host {

QString optionValue(const QStringList& args, qsizetype& i)
{
    if (i + 1 >= args.size())
        throw UsageError(QStringLiteral("%1 needs a value").arg(args[i]));
    return args[++i];
}

DatabaseUrl databaseArgument(const QString& text)
{
    try {
        return DatabaseUrl::parse(text);
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
