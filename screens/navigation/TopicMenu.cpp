#include "TopicMenu.h"

#include "Module1.h"
#include "intro0.h"

using namespace vb;

namespace {

// Every activity of the course is listed; only those the map of the screens opens are live, the others
// dimmed.
const std::array<TopicMenuData, kTopicMenus> g_menus = {{
    {"menu1",
     "Menu 1",
     {"Sampling Methods - The Quadrat", "Match the Sampling Apparatus", "The Endocrine System", "Hormones",
      "Response to Stimulus"},
     5655},
    {"menu2",
     "Menu 2",
     {"Stimulus and Response", "Reflex Action", "The Eye", "Accommodation of the Iris", "Plant Hormones"},
     4575},
    {"menu3",
     "Menu 3",
     {"Circulation and Respiration", "Tour of the Blood", "Veins and Arteries", "Blood System Components",
      "Heart Beats"},
     4695},
    {"menu4",
     "Menu 4",
     {"Transport in the Blood", "Alveoli", "Breathing Apparatus", "Breathing Mechanism",
      "The Digestive System"},
     4095},
    {"menu5",
     "Menu 5",
     {"Digestive Functions", "Enzymes", "The Small Intestine", "Odd One Out",
      "Constructing a Biological Sentence"},
     5775},
}};

// The house width, not the window's inner width: the half twip of an odd width is kept.
constexpr Single kHouseWidth = 12000;

const TopicMenuData& row(int number) {
    if (number < 1 || number > kTopicMenus)
        throw RuntimeError(err::InvalidCall, QStringLiteral("Invalid procedure call"));
    return g_menus[size_t(number - 1)];
}

} // namespace

const TopicMenuData& topicMenuData(int number) {
    return row(number);
}

int TopicMenu::liveEntry() const {
    for (int i = 0; i < kEntriesPerMenu; ++i)
        if (screenOpenedBy(*this, QStringLiteral("Label3(%1)").arg(i))) return i;
    return -1;
}

FormGetter TopicMenu::liveActivity() const {
    const int live = liveEntry();
    return live < 0 ? nullptr : screenOpenedBy(*this, QStringLiteral("Label3(%1)").arg(live));
}

TopicMenu& topicMenu(int number) {
    switch (number) {
    case 1:
        return form<menu1>();
    case 2:
        return form<menu2>();
    case 3:
        return form<menu3>();
    case 4:
        return form<menu4>();
    case 5:
        return form<menu5>();
    default:
        throw RuntimeError(err::InvalidCall, QStringLiteral("Invalid procedure call"));
    }
}

TopicMenu::TopicMenu(int number)
    : NavigationScreen(QString::fromLatin1(topicMenuData(number).name)), m_number(number) {
    Label3.onClick([this](int Index) { Label3_Click(Index); });
}

void TopicMenu::Design() {
    const TopicMenuData& menu = data();
    setCaption(QStringLiteral("Quorvane"));
    // Both are centred at Load.
    addTitle(2760, 120, 6405, 1020, 36, QString::fromUtf8(menu.title)).setBackStyle(vbOpaque);
    addLabelButton(QStringLiteral("Label3"), 0, 3000, kEntriesTop, menu.entryWidth, 495, tahomaBold(15.75f),
                   QString::fromUtf8(menu.entries[0]));
    designMenuColumn();
    designExitButton();
}

void TopicMenu::Form_Load() {
    const TopicMenuData& menu = data();
    ApplyHouseStyle(*this);
    setBackColor(kNavigationBlue);
    // The opening screen's own picture object: the file is read once, however often the menus are visited.
    intro0& opening = form<intro0>();
    if (!opening.isLoaded()) opening.Load();
    setPicture(opening.Picture());
    loadExitButton();

    Label1->setLeft((kHouseWidth - Label1->Width()) / 2);
    Label3(0).setLeft((kHouseWidth - Label3(0).Width()) / 2);

    loadMenuColumn();
    for (int i = 1; i < kEntriesPerMenu; ++i) {
        Label& entry = Label3.Load(i);
        entry.setLeft(Label3(0).Left());
        entry.setTop(Label3(0).Top() + kEntryStep * Single(i));
        entry.setCaption(QString::fromUtf8(menu.entries[size_t(i)]));
    }
    const int live = liveEntry();
    for (int i = 0; i < kEntriesPerMenu; ++i) {
        Label3(i).show();
        // Activities that are not in this edition are listed dimmed and take no clicks.
        if (i != live) Label3(i).setEnabled(false);
    }
}

void TopicMenu::Label2_Click(int Index) {
    // The map has no way from the menu's own number, nor from "WWW Links": they stay put.
    if (FormGetter to = screenOpenedBy(*this, QStringLiteral("Label2(%1)").arg(Index))) {
        to().Show();
        Unload();
    }
}

void TopicMenu::Label3_Click(int Index) {
    // The menu stays loaded beneath the activity; the activity's own exit uncovers it.
    if (Index == liveEntry()) liveActivity()().Show();
}

void TopicMenu::Command1_Click() {
    form<intro0>().Show();
    Unload();
}

void TopicMenu::Form_MouseMove(int, int, Single, Single) {
    // Over the bare screen: the title and the menu column lose their black boxes; the activity entries keep
    // theirs.
    Label1->setBackStyle(vbTransparent);
    for (int i = 0; i <= kWwwLinksIndex; ++i)
        Label2(i).setBackStyle(vbTransparent);
}
