#pragma once

#include <functional>

namespace bryx::host {

class ChecklistSink;

// Runs a package reader on a thread of its own and hands what it reads to a sink on the calling
// thread, a batch of rows at a time, in the order it was read. Unpacking and splitting the
// archive then overlaps with writing the database, and the sink, its database connection and
// its progress reports stay on the thread they belong to; names are taken apart from their
// authorship on the reader's thread too. A few batches wait at most, so memory
// stays flat however large the package. An error on either side stops both and is rethrown
// here: the reader's as it was thrown, or the sink's (a refused row, a cancel).
class ChecklistPipe {
public:
    using Reader = std::function<void(ChecklistSink&)>;

    static void run(const Reader& reader, ChecklistSink& sink);
};

} // namespace bryx::host
