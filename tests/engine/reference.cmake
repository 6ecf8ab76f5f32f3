# The generator's own record code and the reference ephemeris (tests only).
target_link_libraries(test_${name} PRIVATE PkgConfig::SWE gen_corrections_lib)
