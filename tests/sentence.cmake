zb_add_test(test_sentence SOURCES test_sentence.cpp support/testsupport.h LIBS screens)
