# The desktop entry and the software-centre metadata validate with the desktop's own tools.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_entry_validates
        COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/packaging/example.quorvane.ZestoraBiology.desktop)
    set_tests_properties(desktop_entry_validates PROPERTIES FAIL_REGULAR_EXPRESSION "error|warning")
endif()
if(APPSTREAMCLI)
    add_test(NAME appstream_metadata_validates
        COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
                ${PROJECT_SOURCE_DIR}/packaging/example.quorvane.ZestoraBiology.metainfo.xml)
endif()
