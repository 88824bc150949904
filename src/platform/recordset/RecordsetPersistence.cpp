#include "RecordsetPersistence.h"

#include "Recordset.h"
#include "error/Error.h"

#include <cstring>

namespace bryx {

namespace {

constexpr char Signature[8] = {'B', 'R', 'Y', 'X', 'R', 'S', 'E', 'T'};
constexpr uint32_t MaxFields = 4096;
constexpr uint32_t MaxNameBytes = 4096;

template<typename T> void put(MemoryStream& stream, T value)
{
    stream.write(&value, sizeof value);
}

[[noreturn]] void damaged(const QString& why)
{
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("Open from stream: the stream is damaged (%1)").arg(why));
}

template<typename T> T take(MemoryStream& stream, const char* what)
{
    T value;
    if (!stream.read(&value, sizeof value))
        damaged(QStringLiteral("it ends inside %1").arg(QLatin1String(what)));
    return value;
}

bool isWordKind(StorageKind kind)
{
    return kind != StorageKind::Text && kind != StorageKind::Binary;
}

} // namespace

void RecordsetPersistence::save(const Recordset& recordset, MemoryStream& stream)
{
    const std::vector<uint32_t>& visible = recordset.m_visible;
    const uint64_t rows = visible.size();
    bool identity = visible.size() == recordset.m_rowCount;
    for (size_t i = 0; identity && i < visible.size(); ++i)
        identity = visible[i] == i;

    // Size the stream once: growing a 100 MB buffer by appends copies it over and over.
    const size_t nullBytes = (rows + 63) / 64 * sizeof(uint64_t);
    size_t total = sizeof Signature + 16;
    for (const auto& field : recordset.m_fields) {
        total += 4 + size_t(field->Name().size()) * 3 + 16 + nullBytes;
        const Column& column = field->column();
        if (isWordKind(column.kind())) {
            total += rows * sizeof(int64_t);
        } else {
            total += rows * sizeof(uint32_t) + sizeof(uint64_t);
            for (const uint32_t row : visible)
                total += column.bytes(row).size();
        }
    }
    stream.reserveExtra(total);

    stream.write(Signature, sizeof Signature);
    put<uint32_t>(stream, Version);
    put<uint32_t>(stream, static_cast<uint32_t>(recordset.m_fields.size()));
    put<uint64_t>(stream, rows);
    for (const auto& field : recordset.m_fields) {
        const QByteArray name = field->Name().toUtf8();
        put<uint32_t>(stream, static_cast<uint32_t>(name.size()));
        stream.write(name.constData(), static_cast<size_t>(name.size()));
        put<int32_t>(stream, field->Type());
        put<int64_t>(stream, field->DefinedSize());
        put<int32_t>(stream, field->Attributes());
    }

    const size_t nullWordCount = (rows + 63) / 64;
    std::vector<uint64_t> nulls;
    std::vector<int64_t> words;
    for (const auto& field : recordset.m_fields) {
        const Column& column = field->column();
        if (identity) {
            stream.write(column.nullWords().data(), nullWordCount * sizeof(uint64_t));
        } else {
            nulls.assign(nullWordCount, 0);
            for (size_t i = 0; i < rows; ++i) {
                if (column.isNull(visible[i]))
                    nulls[i >> 6] |= uint64_t(1) << (i & 63);
            }
            stream.write(nulls.data(), nullWordCount * sizeof(uint64_t));
        }
        if (isWordKind(column.kind())) {
            if (identity) {
                stream.write(column.words().data(), rows * sizeof(int64_t));
            } else {
                words.resize(rows);
                for (size_t i = 0; i < rows; ++i)
                    words[i] = column.word(visible[i]);
                stream.write(words.data(), rows * sizeof(int64_t));
            }
            continue;
        }
        uint64_t totalBytes = 0;
        std::vector<uint32_t> lengths(rows);
        for (size_t i = 0; i < rows; ++i) {
            lengths[i] = static_cast<uint32_t>(column.bytes(visible[i]).size());
            totalBytes += lengths[i];
        }
        stream.write(lengths.data(), rows * sizeof(uint32_t));
        put<uint64_t>(stream, totalBytes);
        for (size_t i = 0; i < rows; ++i) {
            const std::string_view bytes = column.bytes(visible[i]);
            stream.write(bytes.data(), bytes.size());
        }
    }
}

void RecordsetPersistence::load(Recordset& recordset, MemoryStream& stream)
{
    char signature[sizeof Signature];
    if (!stream.read(signature, sizeof signature) || std::memcmp(signature, Signature, sizeof Signature) != 0)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Open from stream: the stream does not hold a saved recordset"));
    const auto version = take<uint32_t>(stream, "the version");
    if (version != Version)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral(
                "Open from stream: the stream was saved in format version %1; this library reads version %2")
                .arg(version)
                .arg(Version));
    const auto fieldCount = take<uint32_t>(stream, "the field count");
    const auto rows = take<uint64_t>(stream, "the row count");
    if (fieldCount == 0 || fieldCount > MaxFields)
        damaged(QStringLiteral("it claims %1 fields").arg(fieldCount));
    if (rows >= UINT32_MAX || rows / 8 > stream.remaining())
        damaged(QStringLiteral("it claims %1 rows").arg(rows));

    // Build into a fresh set of fields so that a damaged stream leaves the recordset as it was.
    Recordset staged;
    for (uint32_t i = 0; i < fieldCount; ++i) {
        const auto nameSize = take<uint32_t>(stream, "a field name");
        if (nameSize == 0 || nameSize > MaxNameBytes || nameSize > stream.remaining())
            damaged(QStringLiteral("field %1 has a name of %2 bytes").arg(i).arg(nameSize));
        QByteArray name(static_cast<qsizetype>(nameSize), Qt::Uninitialized);
        stream.read(name.data(), nameSize);
        const auto type = take<int32_t>(stream, "a field type");
        const auto definedSize = take<int64_t>(stream, "a field size");
        const auto attributes = take<int32_t>(stream, "field attributes");
        try {
            staged.AppendField(QString::fromUtf8(name), type, definedSize, attributes);
        } catch (const Error& error) {
            damaged(error.Description());
        }
    }

    const size_t nullWordCount = (rows + 63) / 64;
    for (const auto& field : staged.m_fields) {
        Column& column = field->column();
        if (nullWordCount * sizeof(uint64_t) > stream.remaining())
            damaged(QStringLiteral("it ends inside the NULL flags of field \"%1\"").arg(field->Name()));
        std::vector<uint64_t> nulls(nullWordCount);
        stream.read(nulls.data(), nullWordCount * sizeof(uint64_t));
        if (isWordKind(column.kind())) {
            if (rows * sizeof(int64_t) > stream.remaining())
                damaged(QStringLiteral("it ends inside the values of field \"%1\"").arg(field->Name()));
            std::vector<int64_t> words(rows);
            stream.read(words.data(), rows * sizeof(int64_t));
            column.assignRaw(rows, std::move(nulls), std::move(words));
            continue;
        }
        if (rows * sizeof(uint32_t) > stream.remaining())
            damaged(QStringLiteral("it ends inside the text lengths of field \"%1\"").arg(field->Name()));
        std::vector<uint32_t> lengths(rows);
        stream.read(lengths.data(), rows * sizeof(uint32_t));
        const auto totalBytes = take<uint64_t>(stream, "a text block");
        uint64_t sum = 0;
        for (const uint32_t length : lengths)
            sum += length;
        if (sum != totalBytes || totalBytes > stream.remaining())
            damaged(QStringLiteral("the texts of field \"%1\" do not add up").arg(field->Name()));
        column.assignTexts(rows, std::move(nulls), lengths.data(), stream.view(totalBytes));
    }

    recordset.m_fields.clear();
    for (auto& field : staged.m_fields)
        recordset.m_fields.push_back(std::make_unique<Field>(recordset, field->Name(), field->Type(),
                                                             field->DefinedSize(), field->Attributes()));
    for (size_t i = 0; i < staged.m_fields.size(); ++i)
        recordset.m_fields[i]->column() = std::move(staged.m_fields[i]->column());
    recordset.resetRows();
    recordset.m_rowCount = rows;
    recordset.m_status.assign(rows, 0);
    recordset.m_visible.resize(rows);
    for (size_t i = 0; i < rows; ++i)
        recordset.m_visible[i] = static_cast<uint32_t>(i);
    recordset.m_position = 0;
}

} // namespace bryx
