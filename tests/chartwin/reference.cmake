# Window tests drive the widgets with Qt's own test events.
find_package(Qt6 REQUIRED COMPONENTS Test)
target_link_libraries(test_${name} PRIVATE Qt6::Test)
