// The five topic menus: one screen with a title, a column of five activity entries (control array Label3),
// the menu column for going straight to another topic and the exit button back to the opening screen.
// menu1 to menu5 differ only in the data of their row of the table in TopicMenu.cpp.
#pragma once

#include "Module1.h"
#include "NavigationScreen.h"

#include <array>

struct TopicMenuData {
    const char* name;  // the screen's class name
    const char* title; // Label1
    std::array<const char*, 5> entries;
    vb::Single entryWidth;
};

inline constexpr int kTopicMenus = 5;
inline constexpr int kEntriesPerMenu = 5;
inline constexpr vb::Single kEntriesTop = 2400;
inline constexpr vb::Single kEntryStep = 750;

// The row of menu `number` (1 to 5).
const TopicMenuData& topicMenuData(int number);

class TopicMenu : public NavigationScreen {
public:
    vb::Arr<vb::Label> Label3{this, "Label3"};

    int number() const { return m_number; }
    const TopicMenuData& data() const { return topicMenuData(m_number); }
    // The one entry whose activity is in this edition, and the activity; -1 and null when there is none.
    int liveEntry() const;
    FormGetter liveActivity() const;

    void Label2_Click(int Index) override;
    void Label3_Click(int Index);
    void Command1_Click() override;

protected:
    explicit TopicMenu(int number);
    void Design() override;
    void Form_Load() override;
    void Form_MouseMove(int Button, int Shift, vb::Single X, vb::Single Y) override;

private:
    int m_number;
};

class menu1 : public TopicMenu {
public:
    menu1() : TopicMenu(1) {}
};
class menu2 : public TopicMenu {
public:
    menu2() : TopicMenu(2) {}
};
class menu3 : public TopicMenu {
public:
    menu3() : TopicMenu(3) {}
};
class menu4 : public TopicMenu {
public:
    menu4() : TopicMenu(4) {}
};
class menu5 : public TopicMenu {
public:
    menu5() : TopicMenu(5) {}
};

// The one instance of menu `number` (1 to 5).
TopicMenu& topicMenu(int number);
