zb_add_test(test_pen SOURCES test_pen.cpp LIBS zbtour Qt6::GuiPrivate)
