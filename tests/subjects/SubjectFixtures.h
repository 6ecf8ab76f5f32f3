#pragma once
// Correction files of the right sizes whose corrections are zero, so that the engine gives
// its bare theories; the five-day records carry their own dates, as the real file does.
#include "engine/CorrectionFixtures.h"
