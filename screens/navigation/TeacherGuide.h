// The six pages of the Teachers' Guide, each answering to its own name.
#pragma once

#include "TeacherGuidePage.h"

class TeacherGuide0 : public TeacherGuidePage {
public:
    TeacherGuide0() : TeacherGuidePage(0) {}
};
class TeacherGuide1 : public TeacherGuidePage {
public:
    TeacherGuide1() : TeacherGuidePage(1) {}
};
class TeacherGuide2 : public TeacherGuidePage {
public:
    TeacherGuide2() : TeacherGuidePage(2) {}
};
class TeacherGuide3 : public TeacherGuidePage {
public:
    TeacherGuide3() : TeacherGuidePage(3) {}
};
class TeacherGuide4 : public TeacherGuidePage {
public:
    TeacherGuide4() : TeacherGuidePage(4) {}
};
class TeacherGuide5 : public TeacherGuidePage {
public:
    TeacherGuide5() : TeacherGuidePage(5) {}
};
