zb_add_test(test_housestyle SOURCES test_housestyle.cpp support/testsupport.h LIBS screens)
