#include "NameKey.h"

#include "common/SqlText.h"

#include <QByteArray>
#include <sqlite3.h>

namespace bryx::host {

namespace {

void unicodeUpper(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    bool ascii = true;
    for (int i = 0; i < bytes && ascii; ++i)
        ascii = static_cast<unsigned char>(text[i]) < 0x80;
    if (ascii) {
        // One buffer, handed to SQLite to free: this runs once per row of a full scan.
        auto* upper = static_cast<char*>(sqlite3_malloc(bytes + 1));
        if (!upper) {
            sqlite3_result_error_nomem(context);
            return;
        }
        for (int i = 0; i < bytes; ++i)
            upper[i] = text[i] >= 'a' && text[i] <= 'z' ? char(text[i] - 'a' + 'A') : text[i];
        upper[bytes] = '\0';
        sqlite3_result_text(context, upper, bytes, sqlite3_free);
        return;
    }
    const QByteArray utf8 = upperCaseForSql(QString::fromUtf8(text, bytes)).toUtf8();
    sqlite3_result_text(context, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

void NameKey::registerFunctions(sqlite3* connection)
{
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function_v2(connection, "upper", 1, flags, nullptr, unicodeUpper, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(connection, "bryx_name_key", 1, flags, nullptr, unicodeUpper, nullptr, nullptr,
                               nullptr);
}

} // namespace bryx::host
