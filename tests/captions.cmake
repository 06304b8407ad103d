zb_add_test(test_captions SOURCES test_captions.cpp support/testsupport.h LIBS screens)
