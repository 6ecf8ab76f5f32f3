#pragma once
#include "foundations/DataRoot.h"

namespace athanor {

// The three correction files of FilePosi\. Each lookup reads two neighbouring records and
// interpolates linearly. A missing file, a record beyond the end or a short read throws
// FileError and aborts the chart computation; there is no fallback.
class CorrectionFiles {
public:
    explicit CorrectionFiles(DataRoot root);
    ~CorrectionFiles();
    CorrectionFiles(const CorrectionFiles&) = delete;
    CorrectionFiles& operator=(const CorrectionFiles&) = delete;

    long double moon(long double jd) const;                // FilePosi\DSEL.rnd, arc-seconds
    long double planet(long double jd, int field) const;   // FilePosi\DPR1.rnd, field 1..17, arc-minutes
    long double blackMoon(long double jd) const;           // FilePosi\NOJLNE.rnd, arc-seconds

    const DataRoot& root() const { return root_; }

private:
    DataRoot root_;
    struct Cache;
    Cache* cache_ = nullptr;  // mapped files, if the implementation keeps them
};

}  // namespace athanor
