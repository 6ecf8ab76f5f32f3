#pragma once
#include "engine/CorrectionFiles.h"
#include "foundations/ChartState.h"
#include "foundations/DataRoot.h"
#include "graphics/DrawingState.h"
#include "interpretation/Aspects.h"
#include "app/Settings.h"

#include <memory>
#include <string>

namespace athanor {

// What the program holds while it runs: the program folder, the one chart state, the orb
// and general settings, the drawing state and the run-time flags of the main window.
// The main window owns it; every window gets a reference.
struct Workstation {
    explicit Workstation(DataRoot dataRoot)
        : root(std::move(dataRoot)), corrections(std::make_unique<CorrectionFiles>(root)) {}

    DataRoot root;
    ChartState chart;
    OrbSettings orbs;
    GeneralSettings settings;
    DrawingState drawing;
    std::unique_ptr<CorrectionFiles> corrections;

    bool loggedIn = false;
    bool corvellMode = false;
    bool maintenanceMode = false;  // the knowledge-base editors show their maintenance controls
    double screenRatio = 0.75;     // screen height / width
    long double printerPageWidth = 1000;
    // The analysis window last showed the archetypal structure; cleared at each activation.
    bool analysisShowedStructure = false;

    std::string firstName = "Nome";
    std::string surname = "Cognome";
    std::string fullName() const;
};

}  // namespace athanor
