#include "ChecklistWriter.h"

#include "ChecklistExporter.h"
#include "ColdpChecklistWriter.h"
#include "DwcaChecklistWriter.h"
#include "error/Error.h"

#include <QFile>

namespace bryx::host {

std::unique_ptr<ChecklistWriter> ChecklistWriter::create(ChecklistFormat format, const QString& folder)
{
    if (format == ChecklistFormat::ColDP)
        return std::make_unique<ColdpChecklistWriter>(folder);
    return std::make_unique<DwcaChecklistWriter>(folder);
}

void ChecklistWriter::writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString()));
}

} // namespace bryx::host
