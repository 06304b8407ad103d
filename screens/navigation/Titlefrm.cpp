#include "Titlefrm.h"

#include "Module1.h"
#include "intro0.h"

using namespace vb;

Titlefrm::Titlefrm() : Form(QStringLiteral("Titlefrm")) {
    Command1.onClick([this] { Command1_Click(); });
    Command2.onClick([this] { Command2_Click(); });
}

void Titlefrm::Design() {
    setDecorated(true);
    setClientSize(5460, 6570);
    setBackColor(RGB(192, 192, 192));
    setCaption(QStringLiteral(" "));
    hWnd()->setAccessibleName(
        QStringLiteral("Biology Year 10 Zestora Demo")); // what the blank caption leaves out
    Try([this] { setIcon(LoadPicture(QStringLiteral(":/screens/titleicon.png"))); });

    auto& frame = add<Frame>("Frame1", 0, -90, 5480, 6660);
    frame.setBackColor(RGB(192, 192, 192));
    frame.setCaption(QString());
    frame.setAccessibleName(QStringLiteral("Biology Year 10 Zestora Demo"));

    auto& title = add<Label>("Label4", 120, 180, 5175, 1455, &frame);
    title.setCaption(QStringLiteral(" Biology Year 10 Zestora Demo"));
    title.setFontDesc({QStringLiteral("Times New Roman"), 26.25f, true});
    title.setForeColor(RGB(192, 0, 192));
    title.setAlignment(vbCenter);
    title.setBackStyle(vbTransparent);

    add<PictureBox>("Picture1", 300, 1560, 4800, 3600, &frame)
        .setAccessibleName(QStringLiteral("A bee on a flower"));

    auto& credit = add<Label>("Label3", 360, 5370, 4695, 615, &frame);
    credit.setCaption(QStringLiteral("By Ellen Harrow and Tom Penwick"));
    credit.setFontDesc({QStringLiteral("Times New Roman"), 15.75f});
    credit.setForeColor(RGB(0, 0, 255));
    credit.setAlignment(vbCenter);
    credit.setBackStyle(vbTransparent);

    auto& ok = add<CommandButton>("Command1", 1320, 6000, 1335, 375, &frame);
    ok.setCaption(QStringLiteral("OK"));
    ok.setBackColor(RGB(192, 192, 192));
    ok.setTabIndex(4);
    auto& exit = add<CommandButton>("Command2", 2760, 6000, 1335, 375, &frame);
    exit.setCaption(QStringLiteral("Exit"));
    exit.setBackColor(RGB(192, 192, 192));
    exit.setTabIndex(5);

    auto& copyright = add<Label>("Label2", 0, 6420, 5415, 255, &frame);
    copyright.setCaption(QStringLiteral("Copyright \u00A9 2026 Quorvane Educational Software"));
    copyright.setFontDesc({QStringLiteral("Arial"), 8.25f});
    copyright.setForeColor(RGB(0, 0, 255));
    copyright.setAlignment(vbCenter);
    copyright.setBackStyle(vbTransparent);
}

namespace {
const QString kPicture = QStringLiteral("Images\\beesm.jpg");
}

void Titlefrm::readAhead() {
    readPicturesAhead({kPicture});
}

void Titlefrm::Form_Load() {
    try {
        const double screenWidth = Screen.Width(), screenHeight = Screen.Height();
        setTop(Single(screenHeight / 2 - double(Height()) / 2));
        setLeft(Single(screenWidth / 2 - double(Width()) / 2));
        Picture1->setPicture(LoadPicture(kPicture));
    } catch (const RuntimeError&) {
        // Without its picture the title still comes up, in the house style, and both buttons work.
        ApplyHouseStyle(*this);
    }
}

void Titlefrm::Command1_Click() {
    form<intro0>().Show();
    Unload();
}

void Titlefrm::Command2_Click() {
    End();
}

void Titlefrm::closeRequested() {
    End();
}
