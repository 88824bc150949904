#pragma once

namespace bryx {

// The hourglass for as long as an operation runs: set when made, the default pointer back when
// it goes out of scope, on every path out of the operation, errors included.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

    // Gives the default pointer back now (before a question to the user, say); the end of the
    // scope then changes nothing more.
    void restore();

private:
    bool m_busy = true;
};

} // namespace bryx
