#pragma once

#include <cstdint>

namespace bryx {

class ScientificDetails;

// Reusing what a stored name holds: a new name made as a copy of one (CloneData, for the
// host), and another name's data copied into the one shown (Tools > Copy Data From...).
class RecordCopies {
public:
    explicit RecordCopies(ScientificDetails& details)
        : m_details(details)
    {
    }

    // The ID of the copy, 0 when the user cancelled.
    int32_t CloneData(int32_t lngIDLocal);
    void CopyDataFrom();

private:
    // Sets `result` to the copy's ID as soon as the copy has one.
    void cloneUnderNewName(int32_t originalId, int32_t& result);
    ScientificDetails& m_details;
};

} // namespace bryx
