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

# With only DejaVu's faces known to fontconfig (Qt 6.8 still lists faces a <rejectfont> hides) and Wine's
# folder out of reach, the program names each missing face with its package, and goes on to its title screen.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/hide-faces.conf "<fontconfig><dir>/usr/share/fonts/truetype/dejavu</dir>"
     "<cachedir>${CMAKE_CURRENT_BINARY_DIR}/fontconfig</cachedir></fontconfig>\n")
add_test(NAME missing_fonts_named COMMAND ${ZB_APP_NAME})
set_tests_properties(missing_fonts_named PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;FONTCONFIG_FILE=${CMAKE_CURRENT_BINARY_DIR}/hide-faces.conf;XDG_DATA_DIRS=/nowhere;XDG_RUNTIME_DIR=${CMAKE_CURRENT_BINARY_DIR}/fontconfig;QT_PLUGIN_PATH=${CMAKE_BINARY_DIR}/plugins;QT_QPA_GENERIC_PLUGINS=zbdriver:open:Titlefrm"
    PASS_REGULAR_EXPRESSION
    "Sans\"[^\n]*fonts-liberation2.*Serif\"[^\n]*fonts-liberation2.*Tahoma\"[^\n]*fonts-wine.*reached Titlefrm")

# The flow under real window managers, each on an Xvfb display of its own.
foreach(_wm openbox xfwm4)
    add_test(NAME desktop_${_wm} COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/desktop.sh ${_wm}
             $<TARGET_FILE:${ZB_APP_NAME}> ${CMAKE_BINARY_DIR}/plugins)
endforeach()
