zb_add_test(test_quadrat SOURCES test_quadrat.cpp support/testsupport.h LIBS screens)
add_dependencies(test_quadrat programdata)
