zb_add_test(test_activities SOURCES test_activities.cpp support/testsupport.h LIBS screens)
zb_add_test(test_jotter SOURCES test_jotter.cpp support/testsupport.h LIBS screens jotteraccess)
