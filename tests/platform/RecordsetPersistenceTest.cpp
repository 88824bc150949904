#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "../support/RecordsetBuilder.h"

#include <QDateTime>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace bryx;
using namespace bryx::test;

namespace {

const DataType AllTypes[] = {
    DataType::SmallInt,    DataType::Integer, DataType::BigInt,   DataType::TinyInt,  DataType::UnsignedInt,
    DataType::Single,      DataType::Double,  DataType::Decimal,  DataType::Currency, DataType::Date,
    DataType::DBTimeStamp, DataType::Boolean, DataType::VarChar,  DataType::VarWChar, DataType::LongVarWChar,
    DataType::WChar,       DataType::GUID,    DataType::VarBinary};

QVariant randomValue(DataType type, std::mt19937_64& random)
{
    if (random() % 6 == 0)
        return {};
    auto pick = [&](std::initializer_list<qlonglong> extremes, qlonglong min, qlonglong max) -> QVariant {
        if (random() % 3 == 0)
            return *(extremes.begin() + random() % extremes.size());
        return min + qlonglong(random() % uint64_t(max - min));
    };
    switch (type) {
    case DataType::SmallInt:
        return pick({-32768, 32767, 0}, -32768, 32767);
    case DataType::Integer:
        return pick({INT32_MIN, INT32_MAX, -1}, INT32_MIN, INT32_MAX);
    case DataType::BigInt:
        return pick({INT64_MIN, INT64_MAX, 0}, INT64_MIN / 2, INT64_MAX / 2);
    case DataType::TinyInt:
        return pick({-128, 127}, -128, 127);
    case DataType::UnsignedInt:
        return pick({0, qlonglong(UINT32_MAX)}, 0, UINT32_MAX);
    case DataType::Single:
    case DataType::Double:
    case DataType::Decimal: {
        const double extremes[] = {std::numeric_limits<double>::max(),
                                   std::numeric_limits<double>::lowest(),
                                   std::numeric_limits<double>::denorm_min(),
                                   -0.0,
                                   0.1,
                                   1e-300};
        if (random() % 2)
            return extremes[random() % 6];
        return std::ldexp(double(int64_t(random())) / 9.2e18, int(random() % 200) - 100);
    }
    case DataType::Currency:
        return double(int64_t(random() % 2000000000000) - 1000000000000) / 10000.0;
    case DataType::Date:
    case DataType::DBTimeStamp:
        return QDateTime::fromMSecsSinceEpoch(int64_t(random() % 8000000000000) - 2000000000000, Qt::UTC);
    case DataType::Boolean:
        return bool(random() % 2);
    case DataType::VarBinary: {
        QByteArray bytes(int(random() % 40), Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random());
        return bytes;
    }
    default: {
        static const QString pieces[] = {
            "Abies", " alba", "Müll.Arg.", "L'Hér.", "×", "鳥", "😀", "", "'", "\"", QString(500, QChar('x'))};
        QString text;
        const int count = int(random() % 5);
        for (int i = 0; i < count; ++i)
            text += pieces[random() % 11];
        return text;
    }
    }
}

std::shared_ptr<Recordset> randomRecordset(std::mt19937_64& random, int rows)
{
    auto rs = std::make_shared<Recordset>();
    rs->AppendField("ID", DataType::Integer, 4, FieldAttribute::KeyColumn);
    const int fields = 1 + int(random() % 10);
    for (int f = 0; f < fields; ++f) {
        const DataType type = AllTypes[random() % std::size(AllTypes)];
        rs->AppendField(QStringLiteral("F%1_%2").arg(f).arg(int(type)), type, int64_t(random() % 300),
                        int(random() % 0x100));
    }
    rs->Open();
    for (int r = 0; r < rows; ++r) {
        rs->AddNew();
        rs->Fields(0).SetValue(r);
        for (int f = 1; f < rs->FieldCount(); ++f)
            rs->Fields(f).SetValue(randomValue(static_cast<DataType>(rs->Fields(f).Type()), random));
    }
    rs->UpdateBatch();
    return rs;
}

void expectSameRows(Recordset& expected, Recordset& actual)
{
    ASSERT_EQ(expected.FieldCount(), actual.FieldCount());
    for (int f = 0; f < expected.FieldCount(); ++f) {
        EXPECT_EQ(expected.Fields(f).Name(), actual.Fields(f).Name());
        EXPECT_EQ(expected.Fields(f).Type(), actual.Fields(f).Type());
        EXPECT_EQ(expected.Fields(f).DefinedSize(), actual.Fields(f).DefinedSize());
        EXPECT_EQ(expected.Fields(f).Attributes(), actual.Fields(f).Attributes());
    }
    ASSERT_EQ(expected.RecordCount(), actual.RecordCount());
    for (int position = 0; position < expected.RecordCount(); ++position) {
        for (int f = 0; f < expected.FieldCount(); ++f) {
            const QVariant a = expected.ValueAt(position, f);
            const QVariant b = actual.ValueAt(position, f);
            if (a.metaType().id() == QMetaType::Double && a.isValid() && b.isValid()) {
                // Bit-exact, so -0.0 and denormals survive too.
                EXPECT_EQ(std::bit_cast<uint64_t>(a.toDouble()), std::bit_cast<uint64_t>(b.toDouble()))
                    << "row " << position << " field " << f;
            } else {
                EXPECT_EQ(a, b) << "row " << position << " field " << expected.Fields(f).Name().toStdString();
            }
        }
    }
}

} // namespace

TEST(RecordsetPersistence, RandomSchemasAndRowsRoundTripExactly)
{
    std::mt19937_64 random(42);
    for (int round = 0; round < 30; ++round) {
        auto original = randomRecordset(random, int(random() % 200));
        MemoryStream stream;
        original->Save(stream);
        Recordset copy;
        copy.Open(stream);
        expectSameRows(*original, copy);
        EXPECT_EQ(stream.remaining(), 0u);
    }
}

TEST(RecordsetPersistence, OnlyVisibleRowsAreSavedAndPendingEditsAreCommitted)
{
    std::mt19937_64 random(7);
    auto rs = randomRecordset(random, 100);
    rs->SetAbsolutePosition(5);
    rs->Delete();
    rs->SetFilter("ID >= 50 OR ID < 3");
    rs->MoveFirst();
    rs->Fields("ID").SetValue(1000); // still being edited when saved
    MemoryStream stream;
    rs->Save(stream);

    Recordset copy;
    copy.Open(stream);
    EXPECT_EQ(copy.RecordCount(), rs->RecordCount());
    EXPECT_EQ(ids(copy).front(), 1000);
    copy.MoveFirst();
    EXPECT_EQ(copy.Status(), RecordStatus::Unmodified);
    expectSameRows(*rs, copy);
    EXPECT_EQ(rs->Filter(), QString("ID >= 50 OR ID < 3")); // saving leaves the source as it was
}

TEST(RecordsetPersistence, SeveralSavesInOneStreamReadBackInTurn)
{
    auto first = makeNameList({{1, "Abies alba"}});
    auto second = makeNameList({{2, "Picea abies"}, {3, "Pinus sylvestris"}});
    MemoryStream stream;
    first->Save(stream);
    second->Save(stream);
    Recordset a, b;
    a.Open(stream);
    b.Open(stream);
    EXPECT_EQ(ids(a), (std::vector<int> {1}));
    EXPECT_EQ(ids(b), (std::vector<int> {2, 3}));
}

TEST(RecordsetPersistence, DamagedStreamsAreRefusedAndChangeNothing)
{
    std::mt19937_64 random(99);
    auto rs = randomRecordset(random, 20);
    MemoryStream saved;
    rs->Save(saved);
    const QByteArray bytes = saved.buffer();

    for (qsizetype length = 0; length < bytes.size(); ++length) {
        MemoryStream truncated;
        truncated.setBuffer(bytes.left(length));
        Recordset target;
        target.AppendField("Keep", DataType::Integer);
        const QString why = EXPECT_BRYX_ERROR(target.Open(truncated), ErrorNumber::InvalidArgument);
        ASSERT_FALSE(why.isEmpty()) << "length " << length;
        EXPECT_EQ(target.State(), ObjectState::Closed);
        ASSERT_EQ(target.FieldCount(), 1);
        EXPECT_EQ(target.Fields(0).Name(), QString("Keep"));
    }

    QByteArray wrongVersion = bytes;
    wrongVersion[8] = 9;
    MemoryStream versioned;
    versioned.setBuffer(wrongVersion);
    Recordset target;
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(target.Open(versioned), ErrorNumber::InvalidArgument).contains("version 9"));

    MemoryStream garbage;
    garbage.setBuffer("not a recordset at all");
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(target.Open(garbage), ErrorNumber::InvalidArgument).contains("does not hold"));

    // Random corruption anywhere must never crash; it either loads or is refused.
    for (int i = 0; i < 300; ++i) {
        QByteArray corrupt = bytes;
        for (int flips = 0; flips < 4; ++flips)
            corrupt[qsizetype(random() % uint64_t(corrupt.size()))] = char(random());
        MemoryStream stream;
        stream.setBuffer(corrupt);
        Recordset any;
        try {
            any.Open(stream);
            EXPECT_EQ(any.State(), ObjectState::Open);
        } catch (const Error& error) {
            EXPECT_EQ(error.Number(), ErrorNumber::InvalidArgument);
            EXPECT_EQ(any.State(), ObjectState::Closed);
        }
    }
}

TEST(RecordsetPersistence, OnlyTheBinaryFormatIsOffered)
{
    auto rs = makeNameList({{1, "a"}});
    MemoryStream stream;
    EXPECT_BRYX_ERROR(rs->Save(stream, PersistFormat::XML), ErrorNumber::FeatureNotAvailable);
    EXPECT_BRYX_ERROR(rs->Open(stream), ErrorNumber::ObjectOpen);
}
