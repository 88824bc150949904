#pragma once

#include "db/DatabaseUrl.h"

#include <QString>

namespace bryx::host {

// Reads SQL text the way the engine's own lexer splits it, far enough to tell how many
// statements it holds and which word begins the first: strings in every form the engine
// knows, quoted names and comments are stepped over whole, so a semicolon or quote inside
// them counts for nothing. On PostgreSQL that means standard strings (with
// standard_conforming_strings on, which the host forces), E'' strings with backslash
// escapes, U&'' strings, dollar quotes and nested block comments; on SQLite '' strings,
// "", `` and [] names and flat block comments.
class StatementScanner {
public:
    struct Result {
        int statements = 0; // statements with anything but blanks and comments in them
        QString firstWord; // upper case; empty when the text holds no statement
        QString unclosed; // what is left open at the end ("a quoted text"), else empty
    };

    static Result scan(const QString& sql, Dialect dialect);
};

} // namespace bryx::host
