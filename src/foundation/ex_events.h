// ex_events.h — the Adler-32 checksum of a downloaded file's bytes.
#pragma once

#include <string>
#include <vector>

class ExEvents {
public:
    // Adler-32 of Data(0) to Data(LastIndex), carried on from Adler (1 for a fresh checksum; 0
    // starts both sums at 0). An empty array gives 1. The value runs from 0 to 4294967295 and is
    // also left in Result.
    long ADAL(long Adler, const std::vector<unsigned char>& Data, double LastIndex, long& Result) const;
    long ADAL(long Adler, const std::string& Data, double LastIndex, long& Result) const;
};
