#include "LocalDatabase.h"

#include "db/Database.h"
#include "db/SampleData.h"
#include "db/Schema.h"
#include "error/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace bryx::host {

DatabaseUrl LocalDatabase::defaultUrl()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/bryx");
    return DatabaseUrl::parse(QStringLiteral("sqlite:") + folder + QStringLiteral("/bryx.sqlite"));
}

QString LocalDatabase::prepare(const DatabaseUrl& url)
{
    const bool create = url.dialect == Dialect::SQLite && !QFileInfo::exists(url.path);
    if (create)
        QDir().mkpath(QFileInfo(url.path).absolutePath());
    Database db(url, Database::Access::ReadWrite, create);
    // A shared server is prepared by its administrator, whose rights the application never has.
    if (url.dialect == Dialect::PostgreSQL) {
        const int version = Schema::version(db);
        if (version != Schema::CurrentVersion)
            throw Error(ErrorNumber::InvalidArgument,
                        version == 0
                            ? QStringLiteral("Database %1 is not set up; an administrator does it with: "
                                             "bryx-db init --database %1")
                                  .arg(url.display())
                            : QStringLiteral("Database %1 is at schema version %2, this program needs %3; "
                                             "an administrator brings it up to date with: bryx-db upgrade "
                                             "--database %1")
                                  .arg(url.display())
                                  .arg(version)
                                  .arg(Schema::CurrentVersion));
        return QStringLiteral("opened %1").arg(url.display());
    }
    if (Schema::version(db) == 0) {
        Schema::upgrade(db);
        SampleData::loadReferenceTables(db);
        SampleData::loadSampleNames(db);
        return QStringLiteral("created %1 with the sample names").arg(url.display());
    }
    // An older database is brought up to date on first open, in one transaction; a newer one
    // is refused by the upgrade, saying why.
    const int before = Schema::version(db);
    Schema::upgrade(db);
    if (before < Schema::CurrentVersion)
        return QStringLiteral("opened %1 (upgraded from schema version %2 to %3)")
            .arg(url.display())
            .arg(before)
            .arg(Schema::CurrentVersion);
    return QStringLiteral("opened %1").arg(url.display());
}

} // namespace bryx::host
