#pragma once

#include "Criteria.h"
#include "DataType.h"
#include "Field.h"
#include "MemoryStream.h"

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace bryx {

enum class ObjectState { Closed = 0, Open = 1 };
enum class EditMode { None = 0, InProgress = 1, Add = 2 };
enum class SearchDirection { Forward = 1, Backward = -1 };
enum class BookmarkEnum { Current = 0, First = 1, Last = 2 };
enum class Affect { Current = 1, Group = 2, All = 3 };
enum class PersistFormat { ADTG = 0, XML = 1 };

namespace RecordStatus {
inline constexpr int New = 0x1;
inline constexpr int Modified = 0x2;
inline constexpr int Deleted = 0x4;
inline constexpr int Unmodified = 0x8;
} // namespace RecordStatus

// Answers of AbsolutePosition when no record is current.
inline constexpr int PositionUnknown = -1;
inline constexpr int PositionBOF = -2;
inline constexpr int PositionEOF = -3;

// A stable handle to one record, valid until the recordset is closed or batch-updated.
struct Bookmark {
    uint32_t row = 0;
    bool operator==(const Bookmark&) const = default;
};
using FindStart = std::variant<BookmarkEnum, Bookmark>;

// A client-side, disconnected recordset of named, typed fields: the rows a query answered,
// or rows built in memory. Cells are stored by column (see Column), deleted and filtered-out
// rows are invisible to the count, moves and finds, and Save/Open round-trip the visible rows
// through a versioned binary stream. Misuse raises Error with the customary numbers.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // Fields, counted from 0. Lookup by name ignores case.
    int FieldCount() const noexcept { return static_cast<int>(m_fields.size()); }
    Field& Fields(int index) const;
    Field& Fields(const QString& name) const;
    Field* FindField(const QString& name) const noexcept;
    int FieldIndexOf(const QString& name) const noexcept;
    void AppendField(const QString& name, DataType type, qint64 definedSize = 0,
                     int attributes = FieldAttribute::Unspecified);
    void AppendField(const QString& name, int typeCode, qint64 definedSize = 0,
                     int attributes = FieldAttribute::Unspecified);

    ObjectState State() const noexcept { return m_open ? ObjectState::Open : ObjectState::Closed; }
    void Open(); // disconnected, over the appended fields
    void Open(MemoryStream& stream); // fields and rows from a saved stream
    void Close();
    void Save(MemoryStream& stream, PersistFormat format = PersistFormat::ADTG);

    int RecordCount() const;
    bool IsBOF() const;
    bool IsEOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int records, FindStart start = BookmarkEnum::Current);
    int AbsolutePosition() const;
    void SetAbsolutePosition(int position);
    Bookmark GetBookmark() const;
    void SetBookmark(Bookmark bookmark);

    // Finds the next record matching one comparison; on no match the recordset is left at
    // EOF (forward) or BOF (backward). An equality on a field with Optimize set uses its index.
    void Find(const QString& criteria, int skipRecords = 0,
              SearchDirection direction = SearchDirection::Forward, FindStart start = BookmarkEnum::Current);
    const QString& Filter() const noexcept { return m_filterText; }
    void SetFilter(const QString& criteria);

    void AddNew();
    void Update();
    void CancelUpdate();
    void Delete(Affect affect = Affect::Current);
    void UpdateBatch(Affect affect = Affect::All);
    EditMode GetEditMode() const noexcept { return m_editMode; }
    int Status() const;

    // Random access by visible position (0-based), for views that must not move the cursor.
    QVariant ValueAt(int position, int fieldIndex) const;
    QString TextAt(int position, int fieldIndex) const;

    void reserve(size_t rows);
    size_t memoryBytes() const noexcept;

private:
    friend class Field;
    friend class RecordsetPersistence;
    friend class RecordsetBuilder;

    void requireOpen(const char* operation) const;
    size_t currentRowFor(const Field& field, const char* operation) const;
    size_t rowForWrite(const Field& field);
    bool hasCurrent() const noexcept;
    void commitEdit();
    void leaveDeletedCurrent() noexcept { m_deletedCurrent.reset(); }
    void rebuildVisible();
    void invalidatePositions() noexcept { m_positionsValid = false; }
    const std::vector<int32_t>& positions() const;
    long startPosition(const FindStart& start, const char* operation) const;
    long findByScan(const Criteria::Comparison& comparison, long from, int step) const;
    long findByIndex(const Criteria::Comparison& comparison, long from, int step) const;
    void dropRows(const std::vector<bool>& drop);
    void resetRows();
    [[noreturn]] void noCurrentRecord(const QString& operation) const;

    std::vector<std::unique_ptr<Field>> m_fields;
    bool m_open = false;
    size_t m_rowCount = 0; // physical rows, deleted ones included until UpdateBatch
    std::vector<uint8_t> m_status; // RecordStatus bits per physical row
    std::vector<uint32_t> m_visible; // physical rows in view order
    long m_position = -1; // index into m_visible; -1 BOF, size() EOF
    std::optional<uint32_t> m_deletedCurrent; // a deleted record stays current until the next move

    EditMode m_editMode = EditMode::None;
    std::vector<QVariant> m_editSnapshot;
    long m_positionBeforeAdd = -1;

    QString m_filterText;
    std::optional<Criteria> m_filter;

    mutable std::vector<int32_t> m_positionOf; // physical row -> visible position or -1
    mutable bool m_positionsValid = false;
};

} // namespace bryx

Q_DECLARE_METATYPE(std::shared_ptr<bryx::Recordset>)
