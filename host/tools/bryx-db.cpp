// bryx-db: creates, upgrades, checks and fills the reference database.
#include "CommandLine.h"
#include "PasswordPrompt.h"
#include "TerminalProgress.h"
#include "curation/DuplicateFinder.h"
#include "curation/NameHistory.h"
#include "curation/NameMerger.h"
#include "curation/NameRestorer.h"
#include "db/Database.h"
#include "db/NameGenerator.h"
#include "db/ReferenceGenerator.h"
#include "db/SampleData.h"
#include "db/Schema.h"
#include "db/ServerRoles.h"
#include "db/ServerUsers.h"
#include "error/Error.h"
#include "exchange/ChecklistExporter.h"
#include "exchange/ChecklistImporter.h"
#include "exchange/DelimitedWriter.h"
#include "exchange/NameTypeRules.h"
#include "exchange/SkippedRowReport.h"
#include "services/CurationLog.h"
#include "services/NameSnapshot.h"
#include "services/UserSession.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

using namespace bryx::host;

namespace {

const char* const Help = R"(Usage: bryx-db COMMAND [--database URL] [options]

Commands:
  init [--no-sample] [--roles PREFIX]
                       Create the schema, the code lists and users, and (unless --no-sample)
                       the sample of real scientific names and references. On PostgreSQL,
                       also the installation's group roles PREFIX_owner, _reader, _viewer,
                       _editor and _admin (PREFIX: bryx), with their rights; run it as the
                       database's owner or a superuser, then add users.
  upgrade [--roles PREFIX]
                       Bring an existing database to this program's schema version, and
                       repair what check reports (on PostgreSQL also the roles' rights).
  user add LOGIN --role viewer|editor|admin [--full-name NAME] [--org-unit CODE] [--password]
                       Make LOGIN a user with that role. On PostgreSQL the login role is
                       created when missing and made a member of the role's group; with
                       --password its password is read from the terminal (or the first
                       line of standard input). Viewers read and keep their own searches;
                       editors also change names, references and links; admins also add
                       and remove viewers and editors.
  user remove LOGIN    Take LOGIN's rights in this database and its saved searches away
                       (the login itself is dropped when nothing else needs it).
  user list            List the users with their roles.
  check                Report the schema version, anything missing and, on SQLite, what the
                       integrity check finds; exit 1 on a problem.
  generate [--names N] [--references M]
                       Add N synthetic names and M synthetic references (deterministic) for
                       trials at scale.
  import FILE [--user NAME] [--skip-bad-rows] [--update] [--name-type TYPE]
              [--report TSV]
                       Bring in a checklist: a Darwin Core Archive or a ColDP package, as a
                       zip file or an unpacked folder. All of it is imported in one
                       transaction, or nothing is. A name already stored with the same
                       author is left as it is, or with --update takes the checklist's
                       category, level and established name. --skip-bad-rows imports what
                       can be imported and lists the rows passed over, with reasons;
                       --report writes every one of them to a TSV file.
                       A name's type is taken from, in this order: its nomenclatural code,
                       its kingdom, its higher classification (phylum, class, order,
                       family, higherClassification; a family ending in -aceae is
                       botanical, in -idae zoological), its nearest parent (or accepted
                       name) whose type is known, and last --name-type botanical,
                       zoological or ecological, for the names nothing else decides.
  duplicates --mode exact|author|name|spelling [--type TYPE] [--tsv FILE]
                       List the groups of names that are one name stored more than once:
                       exact: the same name and author, as a save compares them (case
                       folded); author: the same name and an author written another way
                       (case, diacritics, spaces and full stops of initials, "&", "et" and
                       "and", a comma before the year; a basionym author in brackets
                       counts); name: the same name whatever the author; spelling: the
                       same genus and the rest one letter apart, differing only in a Latin
                       ending (-us/-a/-um, -is/-e, -i/-ii, ae/e) or in a hybrid sign.
                       Names of different types never pair; --type botanical, zoological or
                       ecological keeps to one. --tsv writes every member to a TSV file.
  merge --keep ID ID... [--dry-run]
                       Merge the names ID... into the name kept: their reference links move
                       to it (no reference twice, one original publication), the names that
                       rest on them rest on it, and they are deleted, all in one transaction.
                       What it will do is printed first; --dry-run stops there. Names of
                       different types are never merged.
  history ID           Every change of name ID, oldest first: when, who, the field, its old
                       and new value, the comment, and the change's number for restore.
  restore --change N   Take change N of a name's history back: a field gets its old value
                       again (as a save of the record), a merge brings its names back.
  restore --deleted N  Bring back deleted name N (see deleted) with its ID, values and links.
  deleted              List the deleted names that can be brought back, the latest first.
  export FILE --format dwca|coldp
                       Write the stored names, their established names and references as a
                       Darwin Core Archive or a ColDP package (a zip file when FILE ends in
                       .zip, else a folder).

Options:
  --database URL       sqlite:PATH or postgresql://user@host:port/dbname
                       (default: sqlite:$XDG_DATA_HOME/bryx/bryx.sqlite)
  --user NAME          SQLite: the user that imports, merges or restores (default: the
                       system user when the database knows it, else "editor"); the audit
                       trail names it. On
                       PostgreSQL the user is the login of the URL.
  --help               Show this text.
  --version            Show the program's version.
)";

struct Arguments {
    QString command;
    DatabaseUrl url = DatabaseUrl::defaultUrl();
    bool sample = true;
    qint64 names = 0;
    qint64 references = 0;
    QString file;
    QString user;
    QString userAction; // user add|remove|list
    ServerUsers::User account;
    QString rolePrefix = QLatin1String(ServerRoles::DefaultPrefix);
    bool skipBadRows = false;
    bool update = false;
    std::optional<QChar> nameType;
    QString report;
    ChecklistFormat format = ChecklistFormat::DarwinCoreArchive;
    int32_t keep = 0;
    std::vector<int32_t> ids; // merged names, or the one name of history
    bool dryRun = false;
    int32_t change = 0;
    bool deleted = false; // restore a deleted name rather than a change
    DuplicateMode duplicateMode = DuplicateMode::SameNameAndAuthor;
    QString tsv;
};

qint64 positiveCount(const QCommandLineParser& parser, const QString& option)
{
    if (!parser.isSet(option))
        return 0;
    bool ok = false;
    const qint64 count = parser.value(option).toLongLong(&ok);
    if (!ok || count <= 0)
        throw UsageError(QStringLiteral("--%1 takes a positive whole number").arg(option));
    return count;
}

int32_t idArgument(const QString& text, const QString& what)
{
    bool ok = false;
    const int id = text.toInt(&ok);
    if (!ok || id <= 0)
        throw UsageError(
            QStringLiteral("%1 takes a name's ID, a positive whole number, not \"%2\"").arg(what, text));
    return id;
}

void parseCuration(const QCommandLineParser& parser, Arguments& parsed)
{
    const QStringList rest = parser.positionalArguments().mid(1);
    if (parsed.command == QLatin1String("merge")) {
        if (!parser.isSet(QStringLiteral("keep")) || rest.isEmpty())
            throw UsageError(
                QStringLiteral("merge needs --keep ID and the IDs of the names to merge into it"));
        parsed.keep = idArgument(parser.value(QStringLiteral("keep")), QStringLiteral("--keep"));
        for (const QString& id : rest)
            parsed.ids.push_back(idArgument(id, QStringLiteral("merge")));
        parsed.dryRun = parser.isSet(QStringLiteral("dry-run"));
    } else if (parsed.command == QLatin1String("history")) {
        if (rest.size() != 1)
            throw UsageError(QStringLiteral("history needs the ID of one name"));
        parsed.ids.push_back(idArgument(rest.front(), QStringLiteral("history")));
    } else if (parsed.command == QLatin1String("restore")) {
        const bool change = parser.isSet(QStringLiteral("change"));
        parsed.deleted = parser.isSet(QStringLiteral("deleted"));
        if (change == parsed.deleted || !rest.isEmpty())
            throw UsageError(QStringLiteral("restore needs either --change N or --deleted N"));
        parsed.change =
            idArgument(parser.value(change ? QStringLiteral("change") : QStringLiteral("deleted")),
                       change ? QStringLiteral("--change") : QStringLiteral("--deleted"));
    } else if (!rest.isEmpty()) {
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(rest.front()));
    }
}

Arguments parse(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOption(databaseOption());
    parser.addOption({QStringLiteral("no-sample"), QStringLiteral("Create no sample names.")});
    parser.addOption(
        {QStringLiteral("names"), QStringLiteral("How many names to generate."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("references"), QStringLiteral("How many references to generate."),
                      QStringLiteral("M")});
    parser.addOption(
        {QStringLiteral("user"), QStringLiteral("The importing login."), QStringLiteral("NAME")});
    parser.addOption(
        {QStringLiteral("skip-bad-rows"), QStringLiteral("Pass over rows that cannot be imported.")});
    parser.addOption({QStringLiteral("update"), QStringLiteral("Update names already stored.")});
    parser.addOption({QStringLiteral("name-type"), QStringLiteral("The type of names nothing else types."),
                      QStringLiteral("TYPE")});
    parser.addOption({QStringLiteral("report"), QStringLiteral("Write the skipped rows to a TSV file."),
                      QStringLiteral("TSV")});
    parser.addOption({QStringLiteral("format"), QStringLiteral("dwca or coldp."), QStringLiteral("FORMAT")});
    parser.addOption(
        {QStringLiteral("roles"), QStringLiteral("Prefix of the server roles."), QStringLiteral("PREFIX")});
    parser.addOption(
        {QStringLiteral("role"), QStringLiteral("viewer, editor or admin."), QStringLiteral("ROLE")});
    parser.addOption(
        {QStringLiteral("full-name"), QStringLiteral("The user's full name."), QStringLiteral("NAME")});
    parser.addOption({QStringLiteral("org-unit"), QStringLiteral("The user's organisation unit."),
                      QStringLiteral("CODE")});
    parser.addOption({QStringLiteral("password"), QStringLiteral("Read a password for the login.")});
    parser.addOption({QStringLiteral("mode"), QStringLiteral("The duplicate rule."), QStringLiteral("MODE")});
    parser.addOption(
        {QStringLiteral("type"), QStringLiteral("The name type to keep to."), QStringLiteral("TYPE")});
    parser.addOption(
        {QStringLiteral("tsv"), QStringLiteral("Write the groups to a TSV file."), QStringLiteral("FILE")});
    parser.addOption(
        {QStringLiteral("keep"), QStringLiteral("The name kept by a merge."), QStringLiteral("ID")});
    parser.addOption({QStringLiteral("dry-run"), QStringLiteral("Only show what a merge would do.")});
    parser.addOption(
        {QStringLiteral("change"), QStringLiteral("The history's change to restore."), QStringLiteral("N")});
    parser.addOption(
        {QStringLiteral("deleted"), QStringLiteral("The deleted name to restore."), QStringLiteral("N")});
    parseArguments(parser, args, 1000);

    Arguments parsed;
    parsed.command = parser.positionalArguments().value(0);
    parsed.url = databaseArgument(parser, DatabaseUrl::defaultUrl());
    parsed.sample = !parser.isSet(QStringLiteral("no-sample"));
    parsed.names = positiveCount(parser, QStringLiteral("names"));
    parsed.references = positiveCount(parser, QStringLiteral("references"));
    parsed.file = parser.positionalArguments().value(1);
    parsed.user = parser.value(QStringLiteral("user"));
    parsed.skipBadRows = parser.isSet(QStringLiteral("skip-bad-rows"));
    parsed.update = parser.isSet(QStringLiteral("update"));
    if (parser.isSet(QStringLiteral("name-type"))) {
        parsed.nameType = NameTypeRules::typeNamed(parser.value(QStringLiteral("name-type")));
        if (!parsed.nameType || parser.value(QStringLiteral("name-type")).size() == 1)
            throw UsageError(QStringLiteral("--name-type takes botanical, zoological or ecological"));
    }
    parsed.report = parser.value(QStringLiteral("report"));
    if (parser.isSet(QStringLiteral("roles")))
        parsed.rolePrefix = parser.value(QStringLiteral("roles"));
    static const QStringList commands = {"init",       "upgrade", "check", "generate", "import",  "export",
                                         "duplicates", "user",    "merge", "history",  "restore", "deleted"};
    if (!commands.contains(parsed.command))
        throw UsageError(parsed.command.isEmpty()
                             ? QStringLiteral("a command is missing")
                             : QStringLiteral("unknown command \"%1\"").arg(parsed.command));
    if (parsed.command == QLatin1String("user")) {
        if (parser.positionalArguments().size() > 3)
            throw UsageError(
                QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().value(3)));
        parsed.userAction = parser.positionalArguments().value(1);
        parsed.account.login = parser.positionalArguments().value(2);
        parsed.account.role = parser.value(QStringLiteral("role"));
        parsed.account.fullName = parser.value(QStringLiteral("full-name"));
        parsed.account.orgUnitCode = parser.value(QStringLiteral("org-unit"));
        static const QStringList actions = {"add", "remove", "list"};
        if (!actions.contains(parsed.userAction))
            throw UsageError(QStringLiteral("user takes add, remove or list"));
        if (parsed.userAction != QLatin1String("list") && parsed.account.login.isEmpty())
            throw UsageError(QStringLiteral("user %1 needs a LOGIN").arg(parsed.userAction));
        if (parsed.userAction == QLatin1String("add") && parsed.account.role.isEmpty())
            throw UsageError(QStringLiteral("user add needs --role viewer, editor or admin"));
        if (parser.isSet(QStringLiteral("password")))
            parsed.account.password =
                readPassword(QStringLiteral("Password for %1: ").arg(parsed.account.login));
        return parsed;
    }
    static const QStringList curation = {"merge", "history", "restore", "deleted"};
    if (curation.contains(parsed.command)) {
        parseCuration(parser, parsed);
        return parsed;
    }
    if (parser.positionalArguments().size() > 2)
        throw UsageError(
            QStringLiteral("unexpected argument \"%1\"").arg(parser.positionalArguments().value(2)));
    const bool exchange =
        parsed.command == QLatin1String("import") || parsed.command == QLatin1String("export");
    if (exchange && parsed.file.isEmpty())
        throw UsageError(QStringLiteral("%1 needs a FILE").arg(parsed.command));
    if (!exchange && !parsed.file.isEmpty())
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(parsed.file));
    if (parsed.command == QLatin1String("export")) {
        const std::optional<ChecklistFormat> format =
            ChecklistExporter::formatNamed(parser.value(QStringLiteral("format")));
        if (!format)
            throw UsageError(QStringLiteral("export needs --format dwca or --format coldp"));
        parsed.format = *format;
    }
    if (parsed.command == QLatin1String("duplicates")) {
        const auto mode = DuplicateFinder::modeNamed(parser.value(QStringLiteral("mode")));
        if (!mode)
            throw UsageError(QStringLiteral("duplicates needs --mode exact, author, name or spelling"));
        parsed.duplicateMode = *mode;
        if (parser.isSet(QStringLiteral("type"))) {
            parsed.nameType = NameTypeRules::typeNamed(parser.value(QStringLiteral("type")));
            if (!parsed.nameType || parser.value(QStringLiteral("type")).size() == 1)
                throw UsageError(QStringLiteral("--type takes botanical, zoological or ecological"));
        }
        parsed.tsv = parser.value(QStringLiteral("tsv"));
    }
    if (parsed.command == QLatin1String("generate") && parsed.names == 0 && parsed.references == 0)
        throw UsageError(QStringLiteral("generate needs --names N or --references M"));
    return parsed;
}

// Names are added only to a database of this program's schema version.
void requireCurrentSchema(Database& db)
{
    const int version = Schema::version(db);
    if (version == 0)
        throw bryx::Error(
            bryx::ErrorNumber::InvalidArgument,
            QStringLiteral("Database %1 is not initialised; run bryx-db init first").arg(db.url().display()));
    if (version != Schema::CurrentVersion)
        throw bryx::Error(bryx::ErrorNumber::InvalidArgument,
                          QStringLiteral("Database %1 is at schema version %2; run bryx-db upgrade first")
                              .arg(db.url().display())
                              .arg(version));
}

UserSession importingUser(Database& db, const QString& named)
{
    if (db.dialect() == Dialect::PostgreSQL)
        return UserSession::load(db, named);
    if (!named.isEmpty())
        return UserSession::load(db, named);
    const QString systemUser = qEnvironmentVariable("USER");
    try {
        if (!systemUser.isEmpty())
            return UserSession::load(db, systemUser);
    } catch (const bryx::Error&) {
        // Not a login of this database: the sample editor stands in, as in bryx-host.
    }
    return UserSession::load(db, QStringLiteral("editor"));
}

void printSummary(const QString& file, const DatabaseUrl& url, const ImportSummary& summary, double seconds)
{
    std::printf("Imported %s (%s) into %s in %.1f s\n", qPrintable(file), qPrintable(summary.format),
                qPrintable(url.display()), seconds);
    for (const QString& line : summary.describe(ImportSummary::KeptReasons).split(QLatin1Char('\n')))
        std::printf("  %s\n", qPrintable(line));
    if (summary.untypedNames > 0)
        std::printf("  %lld names of no known type were skipped; --name-type botanical, zoological or "
                    "ecological imports them as that type\n",
                    static_cast<long long>(summary.untypedNames));
}

int exchange(const Arguments& arguments, Database& db)
{
    requireCurrentSchema(db);
    QElapsedTimer timer;
    timer.start();
    if (arguments.command == QLatin1String("import")) {
        ImportSummary summary;
        {
            TerminalProgress bar;
            ImportOptions options;
            options.skipBadRows = arguments.skipBadRows;
            options.update = arguments.update;
            options.nameType = arguments.nameType;
            std::optional<SkippedRowReport> report;
            if (!arguments.report.isEmpty()) {
                report.emplace(arguments.report);
                options.onSkipped = [&](const SkippedRow& row) { report->add(row); };
            }
            options.progress = [&](int permille, const QString& stage) { bar.show(permille, stage); };
            summary =
                ChecklistImporter(db, importingUser(db, arguments.user)).import(arguments.file, options);
            if (report)
                report->commit();
        }
        printSummary(arguments.file, arguments.url, summary, double(timer.elapsed()) / 1000.0);
        return 0;
    }
    ExportSummary summary;
    {
        TerminalProgress bar;
        summary = ChecklistExporter(db).exportTo(
            arguments.file, arguments.format,
            [&](int permille, const QString& stage) { bar.show(permille, stage); });
    }
    std::printf("Exported %lld names, %lld references and %lld reference links to %s in %.1f s\n",
                static_cast<long long>(summary.names), static_cast<long long>(summary.references),
                static_cast<long long>(summary.links), qPrintable(arguments.file),
                double(timer.elapsed()) / 1000.0);
    return 0;
}

int listDuplicates(const Arguments& arguments, Database& db)
{
    requireCurrentSchema(db);
    QElapsedTimer timer;
    timer.start();
    const std::vector<DuplicateGroup> groups =
        DuplicateFinder(db).find(arguments.duplicateMode, arguments.nameType);
    std::optional<DelimitedWriter> tsv;
    if (!arguments.tsv.isEmpty()) {
        tsv.emplace(arguments.tsv, DelimitedWriter::Quoting::Never);
        tsv->write({"group", "id", "name", "author", "type", "category", "level", "references", "resting",
                    "last_changed", "changed_by"});
    }
    qint64 names = 0;
    int number = 0;
    for (const DuplicateGroup& group : groups) {
        ++number;
        for (const DuplicateMember& member : group.members) {
            ++names;
            const QStringList row = {QString::number(number),
                                     QString::number(member.id),
                                     member.name,
                                     member.author,
                                     QString(member.type),
                                     member.category,
                                     member.level,
                                     QString::number(member.references),
                                     QString::number(member.resting),
                                     member.lastChanged,
                                     member.changedBy};
            if (tsv)
                tsv->write(row);
            else
                std::printf("%s\n", qPrintable(row.join(QLatin1Char('\t'))));
        }
    }
    if (tsv)
        tsv->close();
    std::fprintf(tsv ? stdout : stderr, "%d group(s) of %lld names in %.1f s\n", number,
                 static_cast<long long>(names), double(timer.elapsed()) / 1000.0);
    return 0;
}

QString shownText(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("(empty)") : text;
}

int curate(const Arguments& arguments, Database& db)
{
    requireCurrentSchema(db);
    if (arguments.command == QLatin1String("history")) {
        for (const HistoryEntry& entry : NameHistory::of(db, arguments.ids.front()))
            std::printf("%d\t%s\t%s\t%s\t%s\t%s\t%s\n", entry.auditLogId, qPrintable(entry.date),
                        qPrintable(entry.user), qPrintable(entry.field), qPrintable(shownText(entry.oldText)),
                        qPrintable(entry.action == QLatin1Char('U') && !entry.isMerge
                                       ? shownText(entry.newText)
                                       : QString()),
                        qPrintable(entry.comment.simplified()));
        return 0;
    }
    if (arguments.command == QLatin1String("deleted")) {
        for (const CurationLog::Change& change : CurationLog::deletedNames(db, 1000)) {
            const NameSnapshot name = NameSnapshot::fromJson(change.snapshot);
            std::printf("%d\t%d\t%s\t%s\t%s\t%s\n", change.id, change.nameId,
                        qPrintable(name.scientificName()), qPrintable(name.author()),
                        qPrintable(change.changeDate), qPrintable(change.userName));
        }
        return 0;
    }
    const UserSession user = importingUser(db, arguments.user);
    if (arguments.command == QLatin1String("merge")) {
        NameMerger merger(db, user);
        const MergePreview preview = merger.preview(arguments.keep, arguments.ids);
        std::printf("%s\n", qPrintable(preview.describe()));
        if (arguments.dryRun)
            return 0;
        const auto change = CurationLog::load(db, merger.merge(preview));
        std::printf("Merged. Take it back with: bryx-db restore --change %d\n",
                    change ? change->auditLogId : 0);
        return 0;
    }
    NameRestorer restorer(db, user);
    if (arguments.deleted)
        std::printf("%s\n", qPrintable(restorer.restoreDeleted(arguments.change).describe()));
    else
        std::printf("%s\n", qPrintable(restorer.restoreChange(arguments.change)));
    return 0;
}

int manageUsers(const Arguments& arguments, Database& db)
{
    requireCurrentSchema(db);
    if (arguments.userAction == QLatin1String("add")) {
        std::printf("%s\n", qPrintable(ServerUsers::add(db, arguments.account)));
    } else if (arguments.userAction == QLatin1String("remove")) {
        std::printf("%s\n", qPrintable(ServerUsers::remove(db, arguments.account.login)));
    } else {
        for (const ServerUsers::User& user : ServerUsers::list(db))
            std::printf("%s\t%s\t%s\t%s\n", qPrintable(user.login), qPrintable(user.role),
                        qPrintable(user.fullName), qPrintable(user.orgUnitCode));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    return runTool(argc, argv, "bryx-db", Help, [&](const QStringList& args) {
        const Arguments arguments = parse(args);
        const bool creating = arguments.command == QLatin1String("init");
        if (arguments.command == QLatin1String("export")) {
            Database db(arguments.url, Database::Access::ReadOnly);
            return exchange(arguments, db);
        }
        if (arguments.command == QLatin1String("duplicates")) {
            Database db(arguments.url, Database::Access::ReadOnly);
            return listDuplicates(arguments, db);
        }
        Database db(arguments.url, Database::Access::ReadWrite, creating);
        if (arguments.command == QLatin1String("import"))
            return exchange(arguments, db);
        if (arguments.command == QLatin1String("user"))
            return manageUsers(arguments, db);
        if (arguments.command == QLatin1String("merge") || arguments.command == QLatin1String("history")
            || arguments.command == QLatin1String("restore") || arguments.command == QLatin1String("deleted"))
            return curate(arguments, db);
        if (arguments.command == QLatin1String("init")) {
            if (Schema::version(db) != 0)
                throw bryx::Error(bryx::ErrorNumber::InvalidArgument,
                                  QStringLiteral("Database %1 is initialised already; use bryx-db upgrade")
                                      .arg(arguments.url.display()));
            Schema::upgrade(db);
            SampleData::loadReferenceTables(db);
            if (arguments.sample)
                SampleData::loadSampleNames(db);
            std::printf("Initialised %s (schema version %d%s)\n", qPrintable(arguments.url.display()),
                        Schema::CurrentVersion, arguments.sample ? ", with sample names" : "");
            if (db.dialect() == Dialect::PostgreSQL) {
                const ServerRoles roles = ServerRoles::withPrefix(arguments.rolePrefix);
                roles.install(db);
                std::printf("Server roles %s, %s, %s, %s and %s are in place; add users with: bryx-db user "
                            "add LOGIN --role editor --database %s\n",
                            qPrintable(roles.owner), qPrintable(roles.reader), qPrintable(roles.viewer),
                            qPrintable(roles.editor), qPrintable(roles.admin),
                            qPrintable(arguments.url.display()));
            }
        } else if (arguments.command == QLatin1String("upgrade")) {
            const int before = Schema::version(db);
            Schema::upgrade(db);
            const int repaired = Schema::repairNameKeys(db);
            if (db.dialect() == Dialect::PostgreSQL)
                (ServerRoles::installed(db) ? ServerRoles::of(db)
                                            : ServerRoles::withPrefix(arguments.rolePrefix))
                    .install(db);
            std::printf("%s: schema version %d -> %d%s\n", qPrintable(arguments.url.display()), before,
                        Schema::CurrentVersion,
                        repaired > 0 ? qPrintable(QStringLiteral(", %1 name key(s) repaired").arg(repaired))
                                     : "");
        } else if (arguments.command == QLatin1String("check")) {
            const QStringList problems = Schema::check(db);
            for (const QString& problem : problems)
                std::printf("problem: %s\n", qPrintable(problem));
            const int names = db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name")).toInt();
            std::printf("%s: schema version %d, %d scientific names, %s\n",
                        qPrintable(arguments.url.display()), Schema::version(db), names,
                        problems.isEmpty() ? "ok" : "problems found");
            return problems.isEmpty() ? 0 : 1;
        } else {
            requireCurrentSchema(db);
            QElapsedTimer timer;
            timer.start();
            if (arguments.names > 0) {
                NameGenerator::generate(db, arguments.names, [&](qint64 done) {
                    std::fprintf(stderr, "\r%lld of %lld names", static_cast<long long>(done),
                                 static_cast<long long>(arguments.names));
                });
                std::fprintf(stderr, "\n");
            }
            if (arguments.references > 0) {
                ReferenceGenerator::generate(db, arguments.references, [&](qint64 done) {
                    std::fprintf(stderr, "\r%lld of %lld references", static_cast<long long>(done),
                                 static_cast<long long>(arguments.references));
                });
                std::fprintf(stderr, "\n");
            }
            std::printf("Generated %lld names and %lld references in %.1f s\n",
                        static_cast<long long>(arguments.names), static_cast<long long>(arguments.references),
                        double(timer.elapsed()) / 1000.0);
        }
        return 0;
    });
}
