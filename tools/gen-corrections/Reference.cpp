#include "Reference.h"

#include "foundations/ChartState.h"

#include <swephexp.h>

#include <stdexcept>
#include <vector>

namespace athanor::corrections {

namespace {

int referenceBody(int b) {
    switch (b) {
    case body::Sun:
        return SE_SUN;
    case body::Moon:
        return SE_MOON;
    case body::Mercury:
        return SE_MERCURY;
    case body::Venus:
        return SE_VENUS;
    case body::Mars:
        return SE_MARS;
    case body::Jupiter:
        return SE_JUPITER;
    case body::Saturn:
        return SE_SATURN;
    case body::Uranus:
        return SE_URANUS;
    case body::Neptune:
        return SE_NEPTUNE;
    case body::Pluto:
        return SE_PLUTO;
    case body::Node:
        return SE_TRUE_NODE;
    case body::BlackMoon:
        return SE_OSCU_APOG;
    case body::Ceres:
        return SE_CERES;
    case body::Pallas:
        return SE_PALLAS;
    case body::Juno:
        return SE_JUNO;
    case body::Vesta:
        return SE_VESTA;
    case body::Chiron:
        return SE_CHIRON;
    default:
        throw std::invalid_argument("no reference for body " + std::to_string(b));
    }
}

}  // namespace

Reference::Reference(const std::string& ephePath) {
    std::vector<char> path(ephePath.begin(), ephePath.end());
    path.push_back('\0');
    swe_set_ephe_path(path.data());
}

Reference::~Reference() { swe_close(); }

double Reference::deltaT(double jdUt) const {
    char err[AS_MAXCH] = "";
    return swe_deltat_ex(jdUt, SEFLG_SWIEPH, err);
}

SkyPosition Reference::at(int b, double jdUt, bool deflection) const {
    char err[AS_MAXCH] = "";
    double xx[6] = {};
    const int ret =
        swe_calc(jdUt + deltaT(jdUt), referenceBody(b), SEFLG_SWIEPH | (deflection ? 0 : SEFLG_NOGDEFL), xx, err);
    SkyPosition p;
    // Without its files for the date the library falls back to an analytic theory and
    // says so in the returned flags; that is not the reference we measure against.
    p.covered = ret >= 0 && (ret & SEFLG_SWIEPH) != 0;
    p.longitude = xx[0];
    p.latitude = xx[1];
    return p;
}

}  // namespace athanor::corrections
