#include "exchange/ChecklistPipe.h"

#include "error/Error.h"
#include "exchange/ChecklistRecords.h"

#include <QStringList>
#include <atomic>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::host;

namespace {

// What reached the sink, in order: "name 7", "bad 12: reason", "progress 300/900".
class RecordingSink : public ChecklistSink {
public:
    void name(const ChecklistName& row) override { take(QStringLiteral("name ") + row.key); }
    void reference(const ChecklistReference& row) override { take(QStringLiteral("reference ") + row.key); }
    void link(const ChecklistLink& row) override { take(QStringLiteral("link ") + row.nameKey); }
    void badRow(const RowOrigin& origin, const QString& reason) override
    {
        take(QStringLiteral("bad %1: %2").arg(origin.line).arg(reason));
    }
    void warning(const RowOrigin& origin, const QString& kind, const QString&) override
    {
        take(QStringLiteral("warning %1: %2").arg(origin.line).arg(kind));
    }
    void progress(qint64 done, qint64 total) override
    {
        take(QStringLiteral("progress %1/%2").arg(done).arg(total));
    }

    QStringList received;
    // Refuses the row after this many.
    qsizetype refuseAfter = -1;

private:
    void take(const QString& what)
    {
        if (received.size() == refuseAfter)
            throw Error(ErrorNumber::InvalidArgument, QStringLiteral("refused at ") + what);
        received << what;
    }
};

ChecklistName nameRow(qint64 line)
{
    ChecklistName row;
    row.origin = {QStringLiteral("taxon.txt"), line};
    row.key = QString::number(line);
    row.scientificName = QStringLiteral("Abies alba Mill.");
    return row;
}

} // namespace

TEST(ChecklistPipe, EverythingReadArrivesInOrderOnTheCallingThread)
{
    RecordingSink sink;
    QStringList sent;
    ChecklistPipe::run(
        [&](ChecklistSink& out) {
            for (qint64 line = 1; line <= 5000; ++line) {
                out.name(nameRow(line));
                sent << QStringLiteral("name %1").arg(line);
                if (line % 700 == 0) {
                    out.badRow({QStringLiteral("taxon.txt"), line}, QStringLiteral("too few fields"));
                    sent << QStringLiteral("bad %1: too few fields").arg(line);
                    out.warning({QStringLiteral("taxon.txt"), line}, QStringLiteral("extra fields"), {});
                    sent << QStringLiteral("warning %1: extra fields").arg(line);
                    out.progress(line, 5000);
                    sent << QStringLiteral("progress %1/5000").arg(line);
                }
            }
            ChecklistLink link;
            link.nameKey = QStringLiteral("5000");
            out.link(link);
            sent << QStringLiteral("link 5000");
        },
        sink);
    EXPECT_EQ(sink.received, sent);
}

TEST(ChecklistPipe, TheSinksRefusalStopsTheReaderWithoutReadingOn)
{
    RecordingSink sink;
    sink.refuseAfter = 10;
    std::atomic<qint64> read {0};
    constexpr qint64 Rows = 10'000'000;
    try {
        ChecklistPipe::run(
            [&](ChecklistSink& out) {
                for (qint64 line = 1; line <= Rows; ++line) {
                    out.name(nameRow(line));
                    ++read;
                }
            },
            sink);
        FAIL() << "the refusal should reach the caller";
    } catch (const Error& error) {
        EXPECT_EQ(error.Description(), "refused at name 11");
    }
    EXPECT_EQ(sink.received.size(), 10);
    EXPECT_LT(read.load(), Rows / 100)
        << "the reader waits for the sink rather than reading the package into memory";
}

TEST(ChecklistPipe, TheReadersErrorArrivesAfterTheRowsBeforeIt)
{
    RecordingSink sink;
    try {
        ChecklistPipe::run(
            [&](ChecklistSink& out) {
                for (qint64 line = 1; line <= 3000; ++line)
                    out.name(nameRow(line));
                throw Error(ErrorNumber::InvalidArgument,
                            QStringLiteral("taxon.txt, line 3001: not valid UTF-8"));
            },
            sink);
        FAIL() << "the reader's error should reach the caller";
    } catch (const Error& error) {
        EXPECT_EQ(error.Description(), "taxon.txt, line 3001: not valid UTF-8");
    }
    ASSERT_EQ(sink.received.size(), 3000);
    EXPECT_EQ(sink.received.back(), "name 3000");
}
