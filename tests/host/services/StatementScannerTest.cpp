#include "services/StatementScanner.h"

#include "../../support/QtPrinters.h"

#include <gtest/gtest.h>

using bryx::host::Dialect;
using bryx::host::StatementScanner;

namespace {

struct Case {
    const char* sql;
    int postgresStatements; // -1: the text is left open on this engine
    int sqliteStatements;
};

int counted(const char* sql, Dialect dialect)
{
    const StatementScanner::Result result = StatementScanner::scan(QString::fromUtf8(sql), dialect);
    return result.unclosed.isEmpty() ? result.statements : -1;
}

} // namespace

// Each text is read as the engine would read it: a semicolon or quote inside a string, a
// quoted name or a comment counts for nothing, and one outside them ends a statement.
TEST(StatementScanner, CountsStatementsAsEachEnginesLexerSplitsThem)
{
    const Case cases[] = {
        {"select 1", 1, 1},
        {"select 1;", 1, 1},
        {"select 1; ; ;", 1, 1},
        {"select 1; delete from t", 2, 2},
        {"select 'a;b' from t", 1, 1},
        {"select 'it''s; fine' from t", 1, 1},
        {"select \"odd;name\" from t", 1, 1},
        {"select 1 -- ; delete from t", 1, 1},
        {"select 1 /* ; */ from t", 1, 1},
        // Backslashes are ordinary in a standard string, so this one ends at the second quote.
        {"select '\\'; delete from t", 2, 2},
        // An E string takes backslash escapes: the quote after the backslash is inside it.
        {"select E'\\''; commit; begin read write; create table x (y int)", 4, -1},
        {"select e'\\\\'; delete from t", 2, 2},
        {"select E'a\\'b;c' from t", 1, -1},
        // Dollar quotes, tagged or not, hide quotes and semicolons on PostgreSQL only.
        {"select $q$'$q$; commit; begin read write", 3, -1},
        {"select $$;'$$ from t", 1, -1},
        {"select $a$ $b$ ; $b$ $a$ from t", 1, 2}, // to SQLite these are two parameter names
        {"select $1, $2 from t; delete from t", 2, 2},
        // Nested block comments close only at the outer end on PostgreSQL; SQLite's are flat.
        {"select 1 /* a /* b */ ; */ from t", 1, 2},
        {"select 1 /* never closed", -1, 1},
        {"select 'never closed", -1, -1},
        {"select U&'d\\0061t\\+000061' from t; delete from t", 2, 2},
        // SQLite's own quotings of names.
        {"select [a;b], `c;d` from t", 3, 1},
        // A number does not swallow a letter after an e that has no exponent.
        {"select 1e'; delete from t'", 1, 1},
        {"", 0, 0},
        {" -- only a comment", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(counted(c.sql, Dialect::PostgreSQL), c.postgresStatements) << "PostgreSQL: " << c.sql;
        EXPECT_EQ(counted(c.sql, Dialect::SQLite), c.sqliteStatements) << "SQLite: " << c.sql;
    }
}

TEST(StatementScanner, TheFirstWordIsFoundPastCommentsAndBrackets)
{
    const std::pair<const char*, const char*> cases[] = {
        {"select 1", "SELECT"},
        {"  /* c */ -- d\n Select 1", "SELECT"},
        {"With x as (select 1) select * from x", "WITH"},
        {"(select 1)", ""},
        {"/* only */", ""},
        {"copy t to program 'true'", "COPY"},
    };
    for (const auto& [sql, word] : cases)
        EXPECT_EQ(StatementScanner::scan(QString::fromUtf8(sql), Dialect::PostgreSQL).firstWord,
                  QString::fromLatin1(word))
            << sql;
}
