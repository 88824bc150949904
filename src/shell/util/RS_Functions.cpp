#include "RS_Functions.h"

#include "controls/ResultGrid.h"
#include "error/Error.h"
#include "recordset/Recordset.h"
#include "services/MessageBox.h"

#include <vector>

namespace bryx::RS_Functions {

namespace {

// Matches no row: no record of the system carries this ID.
const QString NoRowFilter = QStringLiteral("ID = -12345678");

QString idCriteria(const QString& id)
{
    return QStringLiteral("ID = ") + id;
}

// The source field of the same name for each target field, resolved once per call and
// only when a row is actually copied, so a missing field fails exactly where a copy would.
class FieldMapping {
public:
    FieldMapping(const Recordset& source, const Recordset& target)
        : m_source(source)
        , m_target(target)
    {
    }

    void copyCurrentRow()
    {
        if (m_pairs.empty()) {
            m_pairs.reserve(static_cast<size_t>(m_target.FieldCount()));
            for (int i = 0; i < m_target.FieldCount(); ++i) {
                Field& to = m_target.Fields(i);
                m_pairs.push_back({&to, &m_source.Fields(to.Name())});
            }
        }
        for (const auto& [to, from] : m_pairs)
            to->SetValueFrom(*from);
    }

private:
    const Recordset& m_source;
    const Recordset& m_target;
    std::vector<std::pair<Field*, Field*>> m_pairs;
};

void rebuildFromOwnCopy(Recordset& recordset)
{
    MemoryStream stream;
    recordset.Save(stream);
    recordset.Close();
    recordset.Open(stream);
}

bool isKeptNumericField(const QString& name)
{
    const QString upper = name.toUpper();
    return upper == QLatin1String("ID") || upper == QLatin1String("EO_NUMBER")
        || upper == QLatin1String("UNCERTAINTY_DISTANCE") || upper == QLatin1String("ELEMENT_SUBNATIONAL_ID");
}

} // namespace

bool FindByID(Recordset& list, int32_t id)
{
    if (list.RecordCount() == 0)
        return false;
    list.MoveFirst();
    list.Find(idCriteria(QString::number(id)));
    return !list.IsEOF();
}

void AddSelectedRows(const ResultGrid& grid, Recordset& source, Recordset& target)
{
    const int selected = grid.SelectedRows();
    if (selected < 1)
        return;
    if (source.RecordCount() < 1)
        return;

    target.Fields(QStringLiteral("ID")).SetOptimize(true);
    source.Fields(QStringLiteral("ID")).SetOptimize(true);

    FieldMapping mapping(source, target);
    for (int i = 0; i < selected; ++i) {
        const QString criteria = idCriteria(grid.TextMatrix(grid.SelectedRow(i), 0));
        source.MoveFirst();
        source.Find(criteria);
        if (source.IsEOF())
            continue;
        const bool targetHasRows = target.RecordCount() >= 1;
        if (targetHasRows) {
            target.MoveFirst();
            target.Find(criteria);
        }
        if (!targetHasRows || target.IsEOF()) {
            target.AddNew();
            mapping.copyCurrentRow();
        }
    }

    target.Fields(QStringLiteral("ID")).SetOptimize(false);
    source.Fields(QStringLiteral("ID")).SetOptimize(false);

    rebuildFromOwnCopy(target);
}

void ReplaceWithSelectedRows(const ResultGrid& grid, Recordset& source, Recordset& target)
{
    if (grid.SelectedRows() < 1)
        return;
    source.MoveFirst();
    EmptyRecordset(target);
    AddSelectedRows(grid, source, target);
}

void CopyCurrentRow(const ResultGrid& grid, Recordset& source, std::shared_ptr<Recordset>& target)
{
    if (grid.Row() <= grid.FixedRows() && grid.Rows() <= grid.FixedRows())
        return;
    if (source.RecordCount() < 1)
        return;

    target.reset();
    CreateEmptyCopy(source, target);

    Field& sourceId = source.Fields(QStringLiteral("ID"));
    sourceId.SetOptimize(true);
    const QString criteria = idCriteria(grid.TextMatrix(grid.Row(), 0));
    source.MoveFirst();
    source.Find(criteria);
    if (!source.IsEOF()) {
        target->AddNew();
        FieldMapping(source, *target).copyCurrentRow();
    }
    sourceId.SetOptimize(false);
}

void EmptyRecordset(Recordset& recordset)
{
    recordset.SetFilter(NoRowFilter);
    rebuildFromOwnCopy(recordset);
    recordset.SetFilter(QString());
}

int MergeRecord(Recordset& source, Recordset& target)
{
    try {
        if (source.State() != ObjectState::Open || source.RecordCount() < 1)
            return 0;
        if (target.RecordCount() < 1) {
            target.AddNew();
        } else {
            target.MoveFirst();
            target.Find(idCriteria(source.Fields(QStringLiteral("ID")).Value().toString()));
            if (target.IsEOF())
                target.AddNew();
        }
        FieldMapping(source, target).copyCurrentRow();
        target.Update();
        target.UpdateBatch(Affect::All);
        return 1;
    } catch (const std::exception& caught) {
        const Error error = Error::from(caught);
        MsgBox(QStringLiteral("An error occurred while merging records.\n\n#%1: %2")
                   .arg(error.Number())
                   .arg(error.Description()),
               MsgBoxStyle::Information, QStringLiteral("Application Error"));
        return -1;
    }
}

void CreateEmptyCopy(const Recordset& source, std::shared_ptr<Recordset>& target)
{
    target = std::make_shared<Recordset>();
    for (int i = 0; i < source.FieldCount(); ++i) {
        const Field& field = source.Fields(i);
        if (isKeptNumericField(field.Name()))
            target->AppendField(field.Name(), field.Type(), field.DefinedSize(), field.Attributes());
        else
            target->AppendField(field.Name(), DataType::VarChar, field.DefinedSize(), field.Attributes());
    }
    target->Open();
}

} // namespace bryx::RS_Functions
