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
