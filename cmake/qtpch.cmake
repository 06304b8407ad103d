# Precompiled Qt headers. Parsing Qt's headers takes most of the time of a clean build, once for each source;
# with these every Qt target of the project reads them from one file built first. A compiler launcher such as
# ccache would not cache the sources that use it, so the default is off there. A target whose flags do not fit
# the shared file says so (-Winvalid-pch, an error with ZB_WERROR) rather than quietly parse it all.
set(_default ON)
if(CMAKE_CXX_COMPILER_LAUNCHER)
    set(_default OFF)
endif()
option(ZB_PCH "Precompile the Qt headers once for every target" ${_default})

function(zb_share_qt_pch dir)
    get_property(_targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(_t ${_targets})
        get_target_property(_type ${_t} TYPE)
        get_target_property(_libs ${_t} LINK_LIBRARIES)
        # Not a module: it is compiled position-independent (-fPIC), as the executables are only where Qt
        # asks it of them (Qt 6.4 does, 6.8 does not), and a file made for one does not serve the other.
        if(_type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|OBJECT_LIBRARY)$" AND _libs
           AND NOT _t STREQUAL zbqtpch AND NOT _t MATCHES "^headercheck")
            target_precompile_headers(${_t} REUSE_FROM zbqtpch)
        endif()
    endforeach()
    get_property(_dirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(_d ${_dirs})
        zb_share_qt_pch(${_d})
    endforeach()
endfunction()

if(ZB_PCH)
    file(WRITE ${CMAKE_BINARY_DIR}/zbqtpch.cpp "")
    add_library(zbqtpch OBJECT ${CMAKE_BINARY_DIR}/zbqtpch.cpp)
    # Qt's headers without the QT_*_LIB definitions of the modules: a target that does not define one
    # could not use a file made with it, and none of these headers tests them.
    target_link_libraries(zbqtpch PRIVATE Qt6::Core)
    target_include_directories(zbqtpch PRIVATE $<TARGET_PROPERTY:Qt6::Widgets,INTERFACE_INCLUDE_DIRECTORIES>)
    # What most sources use: all of QtCore (the test library includes it whole) and the common Gui and
    # Widgets classes.
    target_precompile_headers(zbqtpch PRIVATE
        <QtCore/QtCore> <QtGui/QPainter> <QtGui/QPainterPath> <QtGui/QGuiApplication> <QtGui/QScreen>
        <QtGui/QWindow> <QtGui/QMouseEvent> <QtGui/QKeyEvent> <QtGui/QImage> <QtGui/QFontMetricsF>
        <QtGui/QStyleHints> <QtGui/QPixmap> <QtGui/QFont> <QtGui/QColor> <QtGui/QIcon> <QtGui/QCursor>
        <QtWidgets/QApplication> <QtWidgets/QWidget> <QtWidgets/QComboBox> <QtWidgets/QAbstractItemView>
        <QtWidgets/QStyleFactory> <QtWidgets/QMenu> <QtWidgets/QLabel> <QtWidgets/QPushButton>)
    zb_share_qt_pch(${PROJECT_SOURCE_DIR})
endif()
