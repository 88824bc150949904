#pragma once

#include "DwcaMeta.h"

namespace bryx::host {

class ArchiveFolder;

// A curator's checklist as one spreadsheet (CSV or TSV, bare or alone in a zip) whose header
// row names Darwin Core terms, with or without a namespace prefix and in any case
// ("scientificName", "ScientificName", "dwc:scientificName"): described as the core of an
// archive without meta.xml. The delimiter (tab, comma or semicolon) and the quoting are read
// off the header line; the text must be UTF-8, with or without a byte order mark.
namespace SpreadsheetDialect {

// The package's one data file, when it holds nothing else a checklist could be read from;
// empty otherwise.
QString soleDataFile(const ArchiveFolder& package);
// The description of that file; throws, naming it, when its header names no scientificName
// or genus column, or it is not UTF-8.
DwcaMeta describe(const ArchiveFolder& package, const QString& member);

} // namespace SpreadsheetDialect

} // namespace bryx::host
