#include "intro0.h"

#include "Grey.h"
#include "Module1.h"
#include "Titlefrm.h"
#include "TopicMenu.h"

using namespace vb;

namespace {
constexpr int kWebAddressIndex = 6;
constexpr int kTeachersGuideIndex = 7;
} // namespace

intro0::intro0() : NavigationScreen(QStringLiteral("intro0")) {
    Check1.onClick([this] { Check1_Click(); });
}

void intro0::Design() {
    setCaption(QStringLiteral("Quorvane"));
    addTitle(480, 120, 10980, 825, 27.75f, QStringLiteral("Biology Year 10 Zestora Demo"))
        .setBackStyle(vbTransparent);

    auto& hide = add<CheckBox>(QStringLiteral("Check1"), 120, 1200, 1935, 375);
    hide.setCaption(QStringLiteral("Hide Desktop"));
    hide.setFontDesc(arialBold(12));
    hide.setForeColor(kButtonYellow);

    addLabelButton(QStringLiteral("Label2"), kTeachersGuideIndex, 9600, 1680, 2235, 375, arialBold(12),
                   QStringLiteral("Teachers' Guide"));
    designMenuColumn();
    addLabelButton(QStringLiteral("Label2"), kWebAddressIndex, 8520, 7680, 3315, 375, arialBold(12),
                   QString::fromLatin1(kWebAddressText));

    auto& logo = add<Image>(QStringLiteral("Image2"), 180, 5700, 1500, 2085);
    logo.setStretch(true);
    logo.setAccessibleName(QStringLiteral("Quorvane Learning"));
    designExitButton().hide();

    // Right-aligned, and wide enough for the whole notice on one line: it grows to the left.
    auto& copyright = add<Label>(QStringLiteral("Label3"), 7260, 8160, 4530, 315);
    copyright.setCaption(QStringLiteral("Copyright \u00A9 2026 Quorvane Educational Software"));
    copyright.setFontDesc({QStringLiteral("Tahoma"), 9.75f});
    copyright.setForeColor(kButtonYellow);
    copyright.setAlignment(vbRightJustify);
    copyright.setBackStyle(vbTransparent);
}

void intro0::Form_Load() {
    ApplyHouseStyle(*this);
    setBackColor(kNavigationBlue);
    Check1->setBackColor(RGB(139, 158, 96));
    // Coming back with the backdrop wanted: checking the box again puts the backdrop behind this screen.
    if (hidedesktop == 1) Check1->setValue(1);
    Command1->show();
    setPicture(LoadPicture(QStringLiteral("Images\\bee.jpg")));
    Image2->setPicture(LoadPicture(QStringLiteral("Images\\logo2.jpg")));
    loadExitButton();
    loadMenuColumn();
}

void intro0::Label2_Click(int Index) {
    switch (Index) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4: {
        FormGetter to = screenOpenedBy(*this, QStringLiteral("Label2(%1)").arg(Index));
        if (!to) break;
        Form& menu = to();
        menu.Show();
        // One menu at a time, even when this screen was brought forward over a menu from outside the program.
        for (int n = 1; n <= kTopicMenus; ++n)
            if (&topicMenu(n) != &menu && topicMenu(n).isLoaded()) topicMenu(n).Unload();
        break;
    }
    case kWebAddressIndex:
        ShellExecute(hWnd(), QStringLiteral("open"), QString::fromLatin1(kWebAddressUrl), QString(),
                     QString(), SW_HIDE);
        break;
    case kTeachersGuideIndex:
        if (FormGetter to = screenOpenedBy(*this, QStringLiteral("Label2(%1)").arg(Index))) to().Show();
        break;
    default:
        break; // "WWW Links" is never shown and has no action
    }
}

void intro0::Command1_Click() {
    Titlefrm& title = form<Titlefrm>();
    title.Command1->setCaption(QStringLiteral("Cancel"));
    title.Show();
    // The backdrop stays as it is, behind the title screen.
    Unload();
}

void intro0::Check1_Click() {
    if (Check1->Value() == 0) {
        hidedesktop = 0;
        form<Grey>().Unload();
    } else {
        hidedesktop = 1;
        form<Grey>().Show();
    }
    Show();
}

void intro0::Form_MouseMove(int, int, Single, Single) {
    // Only the title is reset: the buttons are opaque from the start and stay so.
    Label1->setBackStyle(vbTransparent);
}
