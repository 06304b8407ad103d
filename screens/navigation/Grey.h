// The desktop backdrop: a borderless blue window over the whole display, behind every screen of the program,
// so the pupils see nothing of the computer's desktop around the screens.
#pragma once

#include "vb.h"

class Grey : public vb::Form {
public:
    Grey() : Form(QStringLiteral("Grey")) {}

protected:
    void Design() override;
    void Form_Load() override;
};
