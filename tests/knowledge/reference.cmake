# The starter base's generator, to compare data/ with a fresh run and to check its rules.
target_link_libraries(test_${name} PRIVATE gen_knowledge_lib)
