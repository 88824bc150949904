#include "exchange/DwcaMeta.h"

#include "error/Error.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::host;

namespace {

// As published archives write it: a tab as a character reference, quoting declared empty,
// indexes that skip a number, a constant by default only, and an extension keyed by coreid.
const char* const Published = R"(<?xml version="1.0" encoding="UTF-8"?>
<archive xmlns="http://rs.tdwg.org/dwc/text/" metadata="eml.xml">
  <core encoding="ISO-8859-1" fieldsTerminatedBy="&#x9;" linesTerminatedBy="\r\n" fieldsEnclosedBy=""
        ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
    <field index="0" term="http://rs.tdwg.org/dwc/terms/taxonID"/>
    <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
    <field index="3" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
    <field term="http://rs.tdwg.org/dwc/terms/nomenclaturalCode" default="ICN"/>
  </core>
  <extension fieldsTerminatedBy="\t" rowType="http://rs.gbif.org/terms/1.0/Reference">
    <files><location>references.txt</location></files>
    <coreid index="0"/>
    <field index="1" term="http://purl.org/dc/terms/bibliographicCitation"/>
  </extension>
</archive>)";

} // namespace

TEST(DwcaMeta, ReadsThePublishedDialectOfDelimitersQuotingIndexesAndDefaults)
{
    const DwcaMeta meta = DwcaMeta::parse(Published);
    const DwcaFile& core = meta.core;
    EXPECT_EQ(core.location, "taxon.txt");
    EXPECT_EQ(core.encoding, "ISO-8859-1");
    EXPECT_EQ(core.fieldsTerminatedBy, "\t") << "the character reference";
    EXPECT_EQ(core.linesTerminatedBy, "\r\n") << "backslash escapes";
    EXPECT_FALSE(core.fieldsEnclosedBy.has_value()) << "declared empty: never quoted";
    EXPECT_EQ(core.ignoreHeaderLines, 1);
    EXPECT_EQ(core.idIndex, 0);
    ASSERT_NE(core.field("taxonRank"), nullptr);
    EXPECT_EQ(core.field("taxonRank")->index, 3) << "index 2 is skipped";
    const DwcaField* code = core.field("http://rs.tdwg.org/dwc/terms/nomenclaturalCode");
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->index, -1);
    EXPECT_EQ(code->defaultValue, "ICN");
    EXPECT_EQ(core.field("scientificNameAuthorship"), nullptr);

    ASSERT_EQ(meta.extensions.size(), 1u);
    const DwcaFile& references = meta.extensions[0];
    EXPECT_EQ(references.fieldsTerminatedBy, "\t") << "a literal backslash-t";
    EXPECT_EQ(references.fieldsEnclosedBy, QChar(u'"')) << "left out: the standard's double quote";
    EXPECT_EQ(references.encoding, "UTF-8");
    EXPECT_EQ(references.idIndex, 0);
    EXPECT_EQ(references.field("bibliographicCitation")->index, 1);
}

TEST(DwcaMeta, AMalformedDescriptionIsRefusedWithTheFileAndLine)
{
    struct Case {
        const char* xml;
        const char* expected;
    } cases[] = {
        {"<archive><core>", "meta.xml, line"},
        {"<archive/>", "declares no core"},
        {"<archive>\n<core><field index=\"0\" term=\"t\"/></core></archive>", "names no data file"},
        {"<archive><core><files><location>t.txt</location></files>\n<field term=\"x\"/></core></archive>",
         "line 2: the field x has neither an index nor a default"},
        {"<archive><core ignoreHeaderLines=\"one\"><files><location>t</location></files></core></archive>",
         "ignoreHeaderLines=\"one\" is not a whole number"},
        {"<archive><core fieldsTerminatedBy=\"\"><files><location>t</location></files></core></archive>",
         "fieldsTerminatedBy is empty"},
        {"<dataset/>", "not <archive>"},
    };
    for (const Case& c : cases) {
        try {
            DwcaMeta::parse(c.xml);
            ADD_FAILURE() << "accepted: " << c.xml;
        } catch (const Error& error) {
            EXPECT_TRUE(error.Description().contains(QString::fromUtf8(c.expected)))
                << error.Description().toStdString() << "\n  for: " << c.xml;
            EXPECT_TRUE(error.Description().startsWith("meta.xml, line "))
                << error.Description().toStdString();
        }
    }
}
