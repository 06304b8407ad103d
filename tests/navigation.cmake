zb_add_test(test_navigation SOURCES test_navigation.cpp navigation_data.h support/testsupport.h LIBS screens)
zb_add_test(test_menus SOURCES test_menus.cpp navigation_data.h support/testsupport.h LIBS screens)
