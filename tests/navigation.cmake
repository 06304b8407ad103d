zb_add_test(test_navigation SOURCES test_navigation.cpp support/testsupport.h LIBS screens)
# The committed Word document is checked against the pages it was written from.
target_compile_definitions(test_navigation PRIVATE ZB_GUIDE_DOCUMENT="${CMAKE_SOURCE_DIR}/docs/Teacher Guide.doc")
