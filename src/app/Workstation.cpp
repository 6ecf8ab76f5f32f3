#include "app/Workstation.h"

namespace athanor {

std::string Workstation::fullName() const {
    std::string s = firstName + " " + surname;
    if (s.size() > 80) s.resize(80);
    return s;
}

}  // namespace athanor
