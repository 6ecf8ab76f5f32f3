# The analysis command's JSON is read back with Qt's JSON reader.
target_link_libraries(test_${name} PRIVATE Qt6::Core)
