#pragma once

#include <QString>

namespace bryx::host {

// Reads a password for a command-line tool: from the terminal without showing it, or the first
// line of standard input when that is no terminal (a script's pipe).
QString readPassword(const QString& prompt);

} // namespace bryx::host
