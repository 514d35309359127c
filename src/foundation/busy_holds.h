// busy_holds.h — the program's busy flags (DownloadBusy, UpdateBusy) as holds.
//
// Routines that download or refresh can end in any order: a sign-in that ends inside the
// end-of-auction update must not clear the flag the update still needs, nor restore a flag that
// another routine has cleared since. So a routine takes a hold on the flag while it runs: the flag
// reads set (-1) while any hold on it remains and clear (0) once the last is given back. Each
// routine gives back only its own hold. Readers keep reading the flag itself.
//
// A hold may be moved (a routine hands it on to the step that finishes its work). UI thread only.
#pragma once

#include <cstdint>

namespace TLMainState {

class BusyHold {
public:
    BusyHold() = default;               // holds nothing
    explicit BusyHold(int16_t& flag);   // takes a hold: the flag reads set
    BusyHold(BusyHold&& other) noexcept;
    BusyHold& operator=(BusyHold&& other) noexcept;
    BusyHold(const BusyHold&) = delete;
    BusyHold& operator=(const BusyHold&) = delete;
    ~BusyHold();

    // Gives back this hold (once; later calls do nothing). The flag clears when no hold remains.
    void release();
    bool held() const { return m_flag != nullptr; }

private:
    int16_t* m_flag = nullptr;
    unsigned m_generation = 0;
};

// How many holds the flag has.
int Busy_Holders(const int16_t& flag);

// Forgets every hold (tests start clean); holds taken before give back nothing.
void ResetBusyHoldsForTests();

}  // namespace TLMainState
