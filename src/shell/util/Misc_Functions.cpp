#include "Misc_Functions.h"

#include "contracts/AppManager.h"
#include "contracts/ScientificNameRecord.h"
#include "controls/ResultGrid.h"
#include "hosting/LateBinding.h"
#include "recordset/Recordset.h"

#include <QObject>
#include <QStringList>

namespace bryx::Misc_Functions {

void FormatGridHeaders(EditableGrid& grid)
{
    for (int col = 0; col < grid.Cols(); ++col) {
        const QString header = grid.TextMatrix(0, col).toLower();
        QStringList words;
        for (const QString& word : header.split(QLatin1Char(' ')))
            words << word.trimmed().toLower();
        QStringList pieces = words.join(QLatin1Char('_')).split(QLatin1Char('_'));
        QString title;
        for (QString& piece : pieces) {
            if (!piece.isEmpty())
                piece = piece.left(1).toUpper() + piece.mid(1);
            if (piece.trimmed().toLower() == QLatin1String("id"))
                piece = QStringLiteral("ID");
            title += piece + QLatin1Char(' ');
        }
        grid.SetTextMatrix(0, col, title.trimmed());
    }
}

void DeactivateBindGrids(const QList<QObject*>& controls)
{
    for (QObject* control : controls) {
        try {
            if (!control)
                continue;
            const QVariant typeName = control->property("TypeName");
            const QString type = typeName.isValid() ? typeName.toString()
                                                    : QString::fromLatin1(control->metaObject()->className());
            if (type == QLatin1String("ctrlBindGrid"))
                CallByName(*control, QStringLiteral("Deactivate"));
        } catch (...) {
            // A grid that cannot let go now will when it is destroyed.
        }
    }
}

void RenumberDisplayOrder(const EditableGrid& grid, ReferenceLinks& rowObjects, const QString& keyField,
                          const QString& userName)
{
    for (int row = grid.FixedRows(); row < grid.Rows(); ++row) {
        const auto rowObject =
            rowObjects.Find(keyField + QStringLiteral(" = ") + grid.RowData(row).toString());
        if (rowObject)
            SetRowFieldValue(*rowObject, QStringLiteral("DisplayOrder"),
                             QString::number(row - grid.FixedRows() + 1), userName);
    }
}

bool SetRowFieldValue(ReferenceLink& rowObject, const QString& fieldName, const QString& newValue,
                      const QString& userName)
{
    const QVariant current = rowObject.Field(fieldName);
    // Compared with NULL, nothing is ever different.
    if (current.isNull() || !current.isValid() || current.toString() == newValue)
        return false;
    rowObject.SetField(fieldName, newValue);
    if (!rowObject.IsNew())
        rowObject.SetField(QStringLiteral("RecLastModUser"), userName);
    return true;
}

bool RecordExistsInTable(const QString& table, const QString& keyField, int32_t id, AppManager& appManager)
{
    QString sql = QStringLiteral("Select * from ") + table + QStringLiteral(" where ") + keyField
        + QStringLiteral(" = ") + QString::number(id);
    return appManager.CallGetQueryRSXML(sql)->RecordCount() >= 1;
}

} // namespace bryx::Misc_Functions
