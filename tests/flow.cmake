zb_add_test(test_flow SOURCES test_flow.cpp LIBS zbtour)
add_dependencies(test_flow programdata)
