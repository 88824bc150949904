#pragma once

#include <QString>
#include <QStringList>

namespace bryx::host {

// Packs files of a folder into a zip archive, streaming each from the disk; throws, naming the
// archive, when it cannot be written.
void packZip(const QString& folder, const QStringList& files, const QString& zipPath);

} // namespace bryx::host
