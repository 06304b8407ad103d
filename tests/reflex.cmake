zb_add_test(test_reflex SOURCES test_reflex.cpp support/testsupport.h LIBS screens)
