#include "foundations/Vocabulary.h"

namespace athanor {

const std::array<const char*, 12> kChartBodyNames = {"",          "Sol",     "Luna",       "Mercurio",
                                                     "Venus",     "Marte",   "J\xFApiter", "Saturno",
                                                     "NodoNorte", "NodoSur", "Ascendente", "Medio Cielo"};

const std::array<const char*, 13> kSignAbbreviations = {"",    "Ari", "Tau", "G\xE9m", "C\xE1n", "Leo", "Vir",
                                                        "Lib", "Esc", "Sag", "Cap",    "Acu",    "Pis"};

const std::array<const char*, 13> kSignNames = {"",      "Aries", "Tauro",    "G\xE9minis", "C\xE1ncer",   "Leo",
                                                "Virgo", "Libra", "Escorpio", "Sagitario",  "Capricornio", "Acuario",
                                                "Piscis"};

const std::array<const char*, 12> kBodyCode2 = {"", "SO", "LU", "ME", "VE", "MA", "GI", "SA", "NN", "NS", "AS", "MC"};

const std::array<const char*, 12> kBodyCode4 = {"",     "Sole", "Luna", "Merc", "Vene", "Mart",
                                                "Giov", "Satu", "NNor", "NSud", "Asce", "Mcie"};

const std::array<const char*, 12> kBodyTag3 = {"",    "Sol", "Lun", "Mer", "Ven", "Mar",
                                               "Gio", "Sat", "Non", "Nos", "Asc", "Mci"};

const std::array<const char*, 13> kSignTag4 = {"",     "Arie", "Toro", "Geme", "Canc", "Leon", "Verg",
                                               "Bila", "Scor", "Sagi", "Capr", "Acqu", "Pesc"};

const std::array<const char*, 13> kSignTag2 = {"",   "Ar", "To", "Ge", "Cn", "Le", "Ve",
                                               "Bi", "Sc", "Sa", "Cp", "Ac", "Pe"};

const std::array<const char*, 13> kHouseTag4 = {"",     "Prim", "Seco", "Terz", "Quar", "Quin", "Sest",
                                                "Sett", "Otta", "Nona", "Deci", "Undi", "Dodi"};

}  // namespace athanor
