zb_add_test(test_runtime SOURCES test_runtime.cpp support/testsupport.h LIBS module1)
