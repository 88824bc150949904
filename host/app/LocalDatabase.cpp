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
    if (Schema::version(db) == 0) {
        Schema::upgrade(db);
        SampleData::loadReferenceTables(db);
        SampleData::loadSampleNames(db);
        return QStringLiteral("created %1 with the sample names").arg(url.display());
    }
    if (Schema::version(db) != Schema::CurrentVersion)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Database %1 has schema version %2, not %3; run bryx-db upgrade")
                        .arg(url.display())
                        .arg(Schema::version(db))
                        .arg(Schema::CurrentVersion));
    return QStringLiteral("opened %1").arg(url.display());
}

} // namespace bryx::host
