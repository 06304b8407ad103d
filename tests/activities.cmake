zb_add_test(test_activities SOURCES test_activities.cpp support/testsupport.h LIBS screens jotteraccess)
