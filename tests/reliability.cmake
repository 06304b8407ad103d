# Reliability: a tour of the program by clicks, the monkey, repeated opening and closing, bad input,
# packaging and the boards' scale factors.
add_library(zbtour STATIC tour/tour.cpp tour/tour.h tour/routes.h tour/monkey.cpp tour/monkey.h
    support/testsupport.h)
target_include_directories(zbtour PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/tour ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zbtour PUBLIC screens Qt6::Test)
if(TARGET jotteraccess)
    target_link_libraries(zbtour PUBLIC jotteraccess)
    target_compile_definitions(zbtour PUBLIC ZB_HAVE_JOTTERACCESS)
endif()

zb_add_test(test_monkey SOURCES test_monkey.cpp LIBS zbtour)
set_tests_properties(test_monkey PROPERTIES LABELS monkey)

# The driver that works the real program from inside its process (a Qt generic plugin, loaded on request).
add_library(zbdriver MODULE driver/driver.cpp driver/driver.json tour/routes.h)
target_include_directories(zbdriver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tour)
target_link_libraries(zbdriver PRIVATE Qt6::Widgets Qt6::Test)
set_target_properties(zbdriver PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/plugins/generic)

# Tests that start the real executable.
function(zb_program_test name)
    zb_add_test(${name} SOURCES ${name}.cpp tour/programrun.h tour/damage.h LIBS zbtour)
    target_compile_definitions(${name} PRIVATE
        ZB_PROGRAM="$<TARGET_FILE:${ZB_APP_NAME}>"
        ZB_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
        ZB_PLUGIN_DIR="${CMAKE_BINARY_DIR}/plugins")
    add_dependencies(${name} ${ZB_APP_NAME} zbdriver programdata)
endfunction()
zb_program_test(test_program)
