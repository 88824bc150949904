// bryx-find: searches scientific names from the command line with the search panel's statement.
#include "CommandLine.h"
#include "SearchStatement.h"
#include "db/DatabaseUrl.h"
#include "error/Error.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

using namespace bryx;
using namespace bryx::host;

namespace {

const char* const Help = R"(Usage: bryx-find [options]

Searches scientific names with exactly the statement the search panel sends.

Options:
  --database URL        sqlite:PATH or postgresql://login@host:port/dbname
                        (default: sqlite:$XDG_DATA_HOME/bryx/bryx.sqlite); on PostgreSQL
                        the server authenticates the login (~/.pgpass, PGPASSWORD)
  --type TYPE           botanical (default), zoological or ecological
  --category TEXT       name category, as the category list shows it
  --level TEXT          classification level
  --comparison MODE     contains (default), exact, begins, ends or wildcard (% and _)
  --text TEXT           scientific name text
  --id ID               one record by its ID; every other criterion is then ignored
  --sql                 print the statement instead of running it
  --count               print only the number of rows
  --format FORMAT       tsv (default) or csv
  --help                Show this text.
  --version             Show the program's version.
)";

struct Arguments {
    DatabaseUrl url = DatabaseUrl::defaultUrl();
    SearchCriteria criteria;
    bool sqlOnly = false;
    bool countOnly = false;
    bool csv = false;
};

int indexOf(const QStringList& choices, const QString& value, const QString& option)
{
    const int index = int(choices.indexOf(value.toLower()));
    if (index < 0)
        throw UsageError(
            QStringLiteral("%1 takes one of %2, not \"%3\"").arg(option, choices.join(", "), value));
    return index;
}

Arguments parse(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOption(databaseOption());
    for (const char* valued : {"type", "category", "level", "comparison", "text", "id", "format"})
        parser.addOption({QLatin1String(valued), QString(), QStringLiteral("value")});
    for (const char* flag : {"sql", "count"})
        parser.addOption({QLatin1String(flag), QString()});
    parseArguments(parser, args, 0);

    auto value = [&](const char* name) { return parser.value(QLatin1String(name)); };
    auto isSet = [&](const char* name) { return parser.isSet(QLatin1String(name)); };
    Arguments parsed;
    parsed.url = databaseArgument(parser, DatabaseUrl::defaultUrl());
    if (isSet("type"))
        parsed.criteria.nameTypeIndex =
            indexOf({"botanical", "zoological", "ecological"}, value("type"), QStringLiteral("--type"));
    parsed.criteria.category = value("category");
    parsed.criteria.classificationLevel = value("level");
    if (isSet("comparison"))
        parsed.criteria.comparison = indexOf({"contains", "exact", "begins", "ends", "wildcard"},
                                             value("comparison"), QStringLiteral("--comparison"));
    parsed.criteria.nameText = value("text");
    parsed.criteria.idText = value("id");
    parsed.sqlOnly = isSet("sql");
    parsed.countOnly = isSet("count");
    if (isSet("format"))
        parsed.csv = indexOf({"tsv", "csv"}, value("format"), QStringLiteral("--format")) == 1;
    return parsed;
}

QString cell(const QString& text, bool csv)
{
    if (!csv)
        return QString(text)
            .replace(QLatin1Char('\t'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QLatin1String("\"\""))
        + QLatin1Char('"');
}

} // namespace

int main(int argc, char** argv)
{
    return runTool(argc, argv, "bryx-find", Help, [&](const QStringList& args) {
        const Arguments arguments = parse(args);
        QString sql = BuildSearchSQL(arguments.criteria);
        QTextStream out(stdout);
        if (arguments.sqlOnly) {
            out << sql << '\n';
            return 0;
        }
        // An SQLite file's user is chosen by name; a server's user is the login of the URL, and
        // the session refuses any other name given.
        const QString user = qEnvironmentVariable("BRYX_USER");
        SqlAppManager appManager(
            arguments.url,
            arguments.url.dialect == Dialect::SQLite && user.isEmpty() ? QStringLiteral("editor") : user);
        const auto rows = appManager.CallGetQueryRSXML(sql);
        if (arguments.countOnly) {
            out << rows->RecordCount() << '\n';
            return 0;
        }
        const QChar separator = arguments.csv ? QLatin1Char(',') : QLatin1Char('\t');
        QStringList header;
        for (int f = 0; f < rows->FieldCount(); ++f)
            header << cell(rows->Fields(f).Name(), arguments.csv);
        out << header.join(separator) << '\n';
        for (int position = 0; position < rows->RecordCount(); ++position) {
            QStringList line;
            for (int f = 0; f < rows->FieldCount(); ++f)
                line << cell(rows->TextAt(position, f), arguments.csv);
            out << line.join(separator) << '\n';
        }
        return 0;
    });
}
