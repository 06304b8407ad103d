zb_add_test(test_navigation SOURCES test_navigation.cpp support/testsupport.h LIBS screens)
# The committed Word document is checked against the pages it was written from.
target_compile_definitions(test_navigation PRIVATE ZB_GUIDE_DOCUMENT="${CMAKE_SOURCE_DIR}/docs/Teacher Guide.doc")
# The document's source, written again from the pages' tables, is the one committed beside it.
add_test(NAME guidedoc_current COMMAND sh -c "\"$0\" guide.html && cmp guide.html \"$1\" || \
    { echo 'docs/Teacher Guide.html is stale: run tools/make-guide-doc.sh'; exit 1; }"
    $<TARGET_FILE:guidedoc> "${PROJECT_SOURCE_DIR}/docs/Teacher Guide.html")
