#pragma once

#include <QJsonObject>
#include <cstdint>
#include <optional>
#include <vector>

namespace bryx::host {

class Database;
struct UserSession;

// How a merge moves the duplicates' links and the names resting on them onto the kept name -
// worked out from what is stored, applied, and recorded so that it can be turned back.
struct MergePlan {
    struct LinkMove {
        int32_t linkId;
        int32_t fromName;
        bool clearsOriginal; // the kept name keeps its own original publication
    };
    struct Repoint {
        int32_t nameId;
        int32_t fromName;
    };
    int32_t keepId = 0;
    std::vector<LinkMove> moves;
    std::vector<int32_t> drops; // links to a reference the kept name has already
    std::vector<Repoint> repointed;
    std::optional<int32_t> keptEstablished; // the duplicate the kept name rested on

    // Moves in the duplicates' order and, within each, in display order, so that the first
    // original publication met is the one that stays one.
    static MergePlan workOut(Database& db, int32_t keepId, const std::vector<int32_t>& duplicateIds);
    int originalsCleared() const;
    // Moves and drops the links and repoints the resting names; the duplicates stay to be deleted.
    void apply(Database& db, const UserSession& user) const;
    // Puts back the duplicates (their snapshots) and turns every step of apply back. Throws
    // bryx::Error, before writing anything, naming a later change that stands in the way.
    void takeBack(Database& db, const UserSession& user, const std::vector<QJsonObject>& duplicates) const;

    QJsonObject toJson() const;
    static MergePlan fromJson(const QJsonObject& json);
};

} // namespace bryx::host
