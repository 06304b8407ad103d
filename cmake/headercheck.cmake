# Every header compiled on its own, without the shared precompiled Qt headers: a header that leans on an
# include it does not make itself fails here, where the precompiled headers would hide it.
file(GLOB_RECURSE _headers RELATIVE ${PROJECT_SOURCE_DIR} CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/app/*.h ${PROJECT_SOURCE_DIR}/bench/*.h ${PROJECT_SOURCE_DIR}/runtime/*.h
     ${PROJECT_SOURCE_DIR}/screens/*.h ${PROJECT_SOURCE_DIR}/tools/*.h ${PROJECT_SOURCE_DIR}/tests/*.h)
set(_sources)
set(_dirs ${PROJECT_SOURCE_DIR}/tests)
foreach(_h ${_headers})
    string(MAKE_C_IDENTIFIER ${_h} _id)
    file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/headercheck/${_id}.cpp CONTENT "#include \"${_h}\"\n")
    list(APPEND _sources ${CMAKE_BINARY_DIR}/headercheck/${_id}.cpp)
    get_filename_component(_dir ${PROJECT_SOURCE_DIR}/${_h} DIRECTORY)
    list(APPEND _dirs ${_dir})
endforeach()
list(REMOVE_DUPLICATES _dirs)
add_library(headercheck OBJECT ${_sources})
target_include_directories(headercheck PRIVATE ${PROJECT_SOURCE_DIR} ${_dirs})
target_link_libraries(headercheck PRIVATE Qt6::Widgets Qt6::GuiPrivate Qt6::Network Qt6::Test)
# The places the end-to-end tests' header is given by the tests that include it.
target_compile_definitions(headercheck PRIVATE ZB_BIN_DIR="" ZB_PLUGIN_DIR="" ZB_PROGRAM="")
# Only the parsing matters: no optimisation, no debug information.
target_compile_options(headercheck PRIVATE -O0 -g0)
set_target_properties(headercheck PROPERTIES DISABLE_PRECOMPILE_HEADERS ON AUTOMOC OFF)
