# Every screen against its reviewed pictures, at 1x and as a 2x board shows it.
# `cmake --build build --target refresh-references` rewrites the pictures on purpose.
# A display that holds every window whole at both scales, so none is moved or shrunk to fit.
set(_board ${CMAKE_CURRENT_SOURCE_DIR}/displays/3840x2160.json)
zb_add_test(test_reference SOURCES test_reference.cpp support/testsupport.h LIBS shots)
target_compile_definitions(test_reference PRIVATE
    ZB_IMAGES_DIR="${PROJECT_SOURCE_DIR}/Images" ZB_REFERENCE_DIR="${CMAKE_CURRENT_SOURCE_DIR}/reference")
set_tests_properties(test_reference PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${_board};LC_ALL=C.UTF-8;QT_SCALE_FACTOR=1")
add_test(NAME test_reference_2x COMMAND test_reference)
set_tests_properties(test_reference_2x PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen:configfile=${_board};LC_ALL=C.UTF-8;QT_SCALE_FACTOR=2" TIMEOUT 300)
add_custom_target(refresh-references
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen:configfile=${_board} LC_ALL=C.UTF-8 QT_SCALE_FACTOR=1
            ZB_REFRESH_REFERENCES=1 $<TARGET_FILE:test_reference>
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen:configfile=${_board} LC_ALL=C.UTF-8 QT_SCALE_FACTOR=2
            ZB_REFRESH_REFERENCES=1 $<TARGET_FILE:test_reference>
    COMMENT "Rewriting tests/reference from the screens as they are now")
