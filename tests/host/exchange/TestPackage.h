#pragma once

#include "error/Error.h"
#include "exchange/ArchivePacker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace bryx::test {

// The files of a checklist package the tests write: member name -> bytes.
using PackageFiles = std::map<QString, QByteArray>;

// Writes the files into a folder (made when missing).
inline void writeFolder(const QString& folder, const PackageFiles& files)
{
    for (const auto& [name, bytes] : files) {
        const QString path = QDir(folder).filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }
}

// Writes the files into a zip archive, by way of a folder beside it.
inline void writeZip(const QString& zipPath, const PackageFiles& files)
{
    const QString folder = zipPath + QStringLiteral(".files");
    writeFolder(folder, files);
    QStringList names;
    for (const auto& [name, bytes] : files)
        names << name;
    host::packZip(folder, names, zipPath);
}

// The message an operation is refused with; empty when it is not.
inline QString refusal(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Error& error) {
        return error.Description();
    }
    return {};
}

} // namespace bryx::test
