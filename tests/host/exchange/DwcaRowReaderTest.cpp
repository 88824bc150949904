#include "exchange/DwcaRowReader.h"

#include "error/Error.h"
#include "support/QtPrinters.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <vector>

using namespace bryx;
using namespace bryx::host;

namespace {

DwcaFile declared(const QString& delimiter, std::optional<QChar> quote, const QString& encoding = "UTF-8",
                  int headerLines = 0)
{
    DwcaFile file;
    file.location = "taxon.txt";
    file.fieldsTerminatedBy = delimiter;
    file.fieldsEnclosedBy = quote;
    file.encoding = encoding;
    file.ignoreHeaderLines = headerLines;
    return file;
}

// Every row of the bytes, with the line each starts on.
std::vector<std::pair<qint64, QStringList>> rowsOf(const QByteArray& bytes, const DwcaFile& file)
{
    QByteArray data = bytes;
    QBuffer device(&data);
    device.open(QIODevice::ReadOnly);
    DwcaRowReader reader(device, file, "taxon.txt");
    std::vector<std::pair<qint64, QStringList>> rows;
    QStringList fields;
    while (reader.next(fields))
        rows.emplace_back(reader.rowLine(), fields);
    return rows;
}

QString refusal(const QByteArray& bytes, const DwcaFile& file)
{
    try {
        rowsOf(bytes, file);
    } catch (const Error& error) {
        return error.Description();
    }
    return {};
}

} // namespace

TEST(DwcaRowReader, ReadsQuotedCommaSeparatedRowsWithLineBreaksAndEveryLineEnding)
{
    const QByteArray csv = "taxonID,scientificName,remarks\r\n"
                           "1,\"Abies alba Mill.\",\"said \"\"fir\"\", of course\"\r\n"
                           "2,Picea abies,\"two\nlines\"\n"
                           "3,\"Pinus, sylvestris\",\"escaped \\\" quote\"\r"
                           "\r\n"
                           "4,\"Larix\",\n";
    const auto rows = rowsOf(csv, declared(",", QChar(u'"'), "UTF-8", 1));
    ASSERT_EQ(rows.size(), 4u) << "the header skipped, the blank line ignored";
    EXPECT_EQ(rows[0].second, QStringList({"1", "Abies alba Mill.", "said \"fir\", of course"}));
    EXPECT_EQ(rows[0].first, 2);
    EXPECT_EQ(rows[1].second, QStringList({"2", "Picea abies", "two\nlines"}));
    EXPECT_EQ(rows[2].second, QStringList({"3", "Pinus, sylvestris", "escaped \" quote"}));
    EXPECT_EQ(rows[2].first, 5) << "after a row of two lines";
    EXPECT_EQ(rows[3].second, QStringList({"4", "Larix", ""})) << "an empty last field";
    EXPECT_EQ(rows[3].first, 7);
}

TEST(DwcaRowReader, UnquotedTabsKeepQuotesAsTextAndReadDeclaredEncodings)
{
    const auto plain = rowsOf("1\t\"Abies\" alba\t\n2\tO'Brien's fir\tx\n", declared("\t", std::nullopt));
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].second, QStringList({"1", "\"Abies\" alba", ""}));
    EXPECT_EQ(plain[1].second, QStringList({"2", "O'Brien's fir", "x"}));

    const auto latin1 = rowsOf("1\tM\xFCller\n", declared("\t", std::nullopt, "ISO-8859-1"));
    EXPECT_EQ(latin1[0].second.value(1), QString::fromUtf8("Müller"));
    const auto windows =
        rowsOf("1\t\x93Quercus\x94 \x80 \x9C\n", declared("\t", std::nullopt, "windows-1252"));
    EXPECT_EQ(windows[0].second.value(1), QString::fromUtf8("“Quercus” € œ"));
    const auto utf8 = rowsOf("1\tIsoëtes\n", declared("\t", std::nullopt));
    EXPECT_EQ(utf8[0].second.value(1), QString::fromUtf8("Isoëtes"));
}

TEST(DwcaRowReader, BadTextIsRefusedWithTheFileAndLine)
{
    EXPECT_EQ(refusal("1\tok\n2\tM\xFCller\n", declared("\t", std::nullopt)),
              "taxon.txt, line 2: the text is not valid UTF-8 (declare its encoding in meta.xml)");
    EXPECT_EQ(refusal("1,ok\n2,\"never closed\n3,x\n", declared(",", QChar(u'"'))),
              "taxon.txt, line 2: a quoted field is not closed before the end of the file");
    EXPECT_TRUE(refusal("1\n", declared(",", QChar(u'"'), "EBCDIC")).contains("\"EBCDIC\""));
}

TEST(DwcaRowReader, RowsLongerThanOneReadAreWholeAndTheLinesCountOn)
{
    QByteArray big;
    const QByteArray citation(70'000, 'x'); // longer than one read of the file
    big += "1,\"" + citation + "\"\n2,b\n";
    const auto rows = rowsOf(big, declared(",", QChar(u'"')));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].second.value(1).size(), 70'000);
    EXPECT_EQ(rows[1].first, 2);
}
