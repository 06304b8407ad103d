zb_add_test(test_flow SOURCES test_flow.cpp navigation_data.h support/testsupport.h LIBS screens jotteraccess)
add_dependencies(test_flow programdata)
