# The committed pictures, and the tool that draws them.
zb_add_test(pictures_test SOURCES pictures_test.cpp LIBS Qt6::Gui)
target_compile_definitions(pictures_test PRIVATE
    ZB_IMAGES_DIR="${PROJECT_SOURCE_DIR}/Images"
    ZB_DRAWIMAGES="$<TARGET_FILE:drawimages>")
add_dependencies(pictures_test drawimages)
