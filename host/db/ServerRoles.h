#pragma once

#include <QString>
#include <QStringList>

namespace bryx::host {

class Database;

// The PostgreSQL roles of one installation, each a group nobody logs in as:
// - the owner holds every table, view, sequence and function, and alone may change the
//   schema or rewrite the audit trail;
// - the reader is what the components' statements run as: SELECT on the views, code lists and
//   name tables they read, nothing else;
// - viewers read everything and keep their own saved searches; editors also write names,
//   references, links, code lists and audit comments; admins also manage the application's
//   users. Each includes the one before.
// The names share a prefix ("bryx" by default), so that two installations in one cluster keep
// their rights apart; they are recorded in the database's server_role table.
struct ServerRoles {
    static constexpr const char* DefaultPrefix = "bryx";

    QString owner;
    QString reader;
    QString viewer;
    QString editor;
    QString admin;

    // The names for a prefix; throws bryx::Error when it is not lower-case letters, digits
    // and underscores beginning with a letter.
    static ServerRoles withPrefix(const QString& prefix);
    // The roles recorded in the database; throws bryx::Error naming the repair when none are.
    static ServerRoles of(Database& db);
    static bool installed(Database& db);

    // The group of an application role word ("viewer", "editor" or "admin"); throws
    // bryx::Error for any other word.
    QString group(const QString& roleWord) const;
    QStringList groups() const { return {viewer, editor, admin}; }

    // Creates the roles that are missing, hands every object of the schema to the owner and
    // grants each role its rights, all in one transaction. The connection must be the
    // database's owner or a superuser, and able to create roles where some are missing.
    void install(Database& db) const;
};

} // namespace bryx::host
