// The render command knows the analysis drawings and the pages from start-up.
#include "graphics/AnalysisViews.h"

namespace {

[[maybe_unused]] const bool registered = [] {
    athanor::registerAnalysisViews();
    return true;
}();

}  // namespace
