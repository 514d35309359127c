#include "foundation/busy_holds.h"

#include <map>

namespace TLMainState {
namespace {

struct Holds {
    std::map<const int16_t*, int> count;
    unsigned generation = 1;
};

Holds& holds() {
    static auto* h = new Holds();
    return *h;
}

}  // namespace

BusyHold::BusyHold(int16_t& flag) : m_flag(&flag), m_generation(holds().generation) {
    ++holds().count[&flag];
    flag = -1;
}

BusyHold::BusyHold(BusyHold&& other) noexcept : m_flag(other.m_flag), m_generation(other.m_generation) {
    other.m_flag = nullptr;
}

BusyHold& BusyHold::operator=(BusyHold&& other) noexcept {
    if (this != &other) {
        release();
        m_flag = other.m_flag;
        m_generation = other.m_generation;
        other.m_flag = nullptr;
    }
    return *this;
}

BusyHold::~BusyHold() { release(); }

void BusyHold::release() {
    if (!m_flag) return;
    int16_t* flag = m_flag;
    m_flag = nullptr;
    Holds& h = holds();
    if (m_generation != h.generation) return;
    auto it = h.count.find(flag);
    if (it == h.count.end()) return;
    if (--it->second <= 0) {
        h.count.erase(it);
        *flag = 0;
    } else {
        *flag = -1;  // another holder still runs
    }
}

int Busy_Holders(const int16_t& flag) {
    const auto it = holds().count.find(&flag);
    return it == holds().count.end() ? 0 : it->second;
}

void ResetBusyHoldsForTests() {
    holds().count.clear();
    ++holds().generation;
}

}  // namespace TLMainState
