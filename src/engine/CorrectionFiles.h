#pragma once
#include "foundations/DataRoot.h"

namespace athanor {

namespace supplement {
class File;
}

// The three correction files of FilePosi\. Each lookup reads two neighbouring records and
// interpolates linearly. A missing file, a record beyond the end or a short read throws
// FileError and aborts the chart computation; there is no fallback. A file is mapped into
// memory at its first lookup and stays mapped, at the size it had then, until the object
// goes: make one per chart computation, so that nothing stays open between events. Not for
// use by two threads at once.
class CorrectionFiles {
public:
    explicit CorrectionFiles(DataRoot root);
    ~CorrectionFiles();
    CorrectionFiles(const CorrectionFiles&) = delete;
    CorrectionFiles& operator=(const CorrectionFiles&) = delete;

    long double moon(long double jd) const;               // FilePosi\DSEL.rnd, arc-seconds
    long double planet(long double jd, int field) const;  // FilePosi\DPR1.rnd, field 1..17, arc-minutes
    long double blackMoon(long double jd) const;          // FilePosi\NOJLNE.rnd, arc-seconds

    // FilePosi\DSUP.rnd, the precision supplement, or null when the folder has none. Looked
    // for once per object; a damaged file throws FileError at every call.
    const supplement::File* supplement() const;

    const DataRoot& root() const { return root_; }

    // While a batch lives, a pair of records once read is served again from memory: one
    // chart reads the same records up to thirty times within a few microseconds. Nothing
    // outlives the outermost batch, so later lookups read the files again.
    class Batch {
    public:
        explicit Batch(const CorrectionFiles& files);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        const CorrectionFiles& files_;
    };

private:
    DataRoot root_;
    struct Cache;
    Cache* cache_ = nullptr;  // the files opened so far
};

}  // namespace athanor
