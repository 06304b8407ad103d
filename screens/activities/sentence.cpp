#include "sentence.h"

#include "Module1.h"

using namespace vb;

namespace {
constexpr OleColor kActivityBlue = RGB(39, 63, 137);
constexpr OleColor kOrange = RGB(255, 128, 0);
constexpr OleColor kSilver = RGB(192, 192, 192);
// The lists start silver and turn white once opened, so the teacher can see which rows were chosen by hand.
constexpr OleColor kListDesignColour = RGB(192, 192, 192);

const FontDesc kHeading{QStringLiteral("Times New Roman"), 26.25f};
const FontDesc kRowText{QStringLiteral("Arial"), 20.25f};
const FontDesc kListFont{QStringLiteral("Arial"), 12, true};
const FontDesc kButtonFont{QStringLiteral("Tahoma"), 15.75f, true};

// Names and entries do not always agree in spelling, capitals or spacing; each is shown as it stands.
const std::array<const char*, sentence::kThemes> kNames = {
    "Red Blood Cell",
    "White Blood Cell",
    "Ciliated Epithelia",
    "Motor Neurone",
    "Adrenaline",
    "Testosterone",
    "Oestrogen",
    "Growth Hormone",
    "Pancreas",
    "Synapse",
    "Lens",
    "Reflex",
    "Food Chain",
    "Quadrat",
    "Global Warming",
    "Intensive Farming",
    "Anaerobic respiration",
    "Digestion",
    "Absorption",
    "breathing",
    "Circulation",
    "Heart",
    "Food",
    "Fat Digestion",
    "Peristalsis",
    "Valves",
    "The Eye",
    "Gas Exchange",
    "Geotropism",
    "Phototropism",
    "Photosynthesis",
    "Pulse",
};

const std::array<const char*, sentence::kThemes> kEntries = {
    "Red Blood Cell, haemoglobin, biconcave, oxygen, surface area",
    "White Blood Cell, engulf, bacteria, antibodies, immune",
    "Ciliated Epithelia, cilia, move, mucus, smoking",
    "Motor Neurone, myelin, impulse, muscle, spinal cord",
    "Adrenaline, heart, blood sugar, breathing, fight or flight",
    "Testosterone, voice, hormone, testes, sperm",
    "Oestrogen, ovary, hormone, characteristics, female",
    "Growth Hormone, pituitary, giant, blood, cells",
    "Pancreas, glucose, insulin, diabetic, liver",
    "Synapse, junction, neurotransmitter, nerve, impulse",
    "Lens, eye, retina, focus, light",
    "Reflex, receptor, quick, protect, skin",
    "Food Chain, producer, arrows, organisms, web",
    "Quadrat, random, plants, estimate, accurate",
    "Global Warming, sun, gases, reflect, floods",
    "Intensive Farming, energy, antibiotics, profit, pesticides",
    "Anaerobic Respiration, lactic acid, energy, oxygen, efficient",
    "Digestion, physical, chemical, enzymes, breakdown",
    "Absorption, intestine, blood, villi, molecules",
    "Breathing, diaphragm, ribs, pressure, volume",
    "Circulation, artery, vein, heart, capillaries",
    "Heart, body, lungs, left ventricle, blood",
    "Food, villi, surface area, absorption, small intestine",
    "Fat Digestion, bile, liver, emulsifies, fats",
    "Peristalsis, muscles, moves, gut, digestion",
    "Valves, circulation, veins, backflow, heart",
    "The Eye, iris, pupil, light, muscles.",
    "Gas Exchange, alveoli, surface area, breathe, lung",
    "Geotropism, plant, roots, water, auxin",
    "Phototropism, plant, auxin, sun, cells",
    "Photosynthesis, leaf, chlorophyll, palisade, plant",
    "Pulse, artery, blood, heart, pressure",
};

Label& textLabel(Label& l, const QString& caption, const FontDesc& font, OleColor colour, int alignment) {
    l.setCaption(caption);
    l.setFontDesc(font);
    l.setForeColor(colour);
    l.setAlignment(alignment);
    l.setBackStyle(vbTransparent);
    return l;
}
} // namespace

const std::array<const char*, sentence::kThemes>& sentence::themeNames() {
    return kNames;
}
const std::array<const char*, sentence::kThemes>& sentence::themeEntries() {
    return kEntries;
}

sentence::sentence() : Form(QStringLiteral("sentence")) {
    Combo1.onClick([this] { Combo1_Click(); });
    Combo2.onClick([this] { Combo2_Click(); });
    Combo3.onClick([this] { Combo3_Click(); });
    Combo1.onDropDown([this] { Combo1_DropDown(); });
    Combo2.onDropDown([this] { Combo2_DropDown(); });
    Combo3.onDropDown([this] { Combo3_DropDown(); });
    Label3.onClick([this](int Index) { Label3_Click(Index); });
    Label3.onMouseMove([this](int Index, int Button, int Shift, Single X, Single Y) {
        Label3_MouseMove(Index, Button, Shift, X, Y);
    });
}

void sentence::Design() {
    setClientSize(12000, 9000);
    setBackColor(kActivityBlue);
    setCaption(QStringLiteral("Constructing a Biological Sentence"));

    textLabel(add<Label>("Label6", 3, 360, 120, 11280, 1305), QStringLiteral("Write a scientific sentence."),
              kHeading, vbYellow, vbCenter);
    textLabel(add<Label>("Label6", 10, 240, 840, 11280, 705),
              QStringLiteral("Try to include as many of the words as possible."), kHeading, vbYellow,
              vbCenter);

    auto& frame = add<Shape>("Shape1", 720, 1800, 10455, 5775);
    frame.setShape(vbShapeRectangle);
    frame.setBorderColor(kSilver);
    frame.setBorderWidth(2);
    frame.setFillStyle(vbFSTransparent);
    frame.setAccessibleName(QStringLiteral("the three sentences"));

    // Row k: title Label6(k + 3), prompt Label6(k + 6), list Combok, key words Label6(k - 1).
    const std::array<const char*, 3> lists = {"Combo1", "Combo2", "Combo3"};
    for (int row = 0; row < 3; ++row) {
        const Single top = 1920 + row * 1920;
        textLabel(add<Label>("Label6", row + 4, 840, top, 2520, 705),
                  QStringLiteral("sentence %1").arg(row + 1), kRowText, kOrange, vbLeftJustify);
        textLabel(add<Label>("Label6", row + 7, 4800, top, 3000, 705), QStringLiteral("choose a theme"),
                  kRowText, kOrange, vbLeftJustify);
        auto& list = add<ComboBox>(QString::fromLatin1(lists[row]), 7920, top + 60, 3015, 405);
        list.setFontDesc(kListFont);
        list.setBackColor(kListDesignColour);
        list.setMousePointer(vbCustom);
        list.setAccessibleName(QStringLiteral("theme of sentence %1").arg(row + 1));
        textLabel(add<Label>("Label6", row, 1200, top + 720, 9840, 1065), QString(), kRowText, vbYellow,
                  vbLeftJustify);
        if (row < 2) {
            auto& line = add<vb::Line>("Line1", row, 0, 0, 0, 0);
            line.setBorderColor(kSilver);
            line.setBorderWidth(2);
            line.setEnds(720, top + 1800, 11160, top + 1800);
            line.setAccessibleName(QStringLiteral("line below sentence %1").arg(row + 1));
        }
    }

    auto button = [this](int index, Single left, Single width, const QString& caption) {
        auto& b = add<Label>("Label3", index, left, 7920, width, 495);
        b.setCaption(caption);
        b.setFontDesc(kButtonFont);
        b.setForeColor(vbYellow);
        b.setBackColor(RGB(0, 0, 0));
        b.setAlignment(vbCenter);
        b.setBorderStyle(vbFixedSingle);
        b.setBackStyle(vbOpaque);
    };
    button(1, 120, 2925, QStringLiteral("New Sentences"));
    button(0, 10560, 1245, QStringLiteral("Exit"));
}

void sentence::Form_Load() {
    ApplyHouseStyle(*this);
    setBackColor(kActivityBlue);
    // No trap: without its pointer the screen does not come up, and the runtime says which file is missing.
    Combo1->setMouseIcon(LoadPicture(QStringLiteral("Images\\H_POINT.cur")));
    Combo2->setMouseIcon(LoadPicture(QStringLiteral("Images\\H_POINT.cur")));
    Combo3->setMouseIcon(LoadPicture(QStringLiteral("Images\\H_POINT.cur")));
    makecombos();
    biologysentences();
    calculate();
}

void sentence::makecombos() {
    for (ComboBox* list : {&*Combo1, &*Combo2, &*Combo3})
        for (const char* name : kNames)
            list->AddItem(QString::fromUtf8(name));
}

void sentence::biologysentences() {
    for (int n = 0; n < kThemes; ++n)
        sentences[n] = QString::fromUtf8(kEntries[n]);
}

void sentence::calculate() {
    Randomize(Timer());
    // Each slot is tested before it is drawn: a slot already clear of everything it must avoid keeps its
    // value.
    while (picks[0] == lastpicks[0] || picks[0] == lastpicks[1] || picks[0] == lastpicks[2])
        picks[0] = std::int16_t(Int(Rnd() * 32));
    while (picks[1] == lastpicks[0] || picks[1] == picks[0] || picks[1] == lastpicks[1] ||
           picks[1] == lastpicks[2])
        picks[1] = std::int16_t(Int(Rnd() * 32));
    while (picks[2] == picks[1] || picks[2] == picks[0] || picks[2] == lastpicks[0] ||
           picks[2] == lastpicks[1] || picks[2] == lastpicks[2])
        picks[2] = std::int16_t(Int(Rnd() * 32));
    for (int k = 0; k <= 2; ++k)
        lastpicks[k] = picks[k];
    for (int k = 0; k <= 2; ++k)
        Label6(k).setCaption(sentences[picks[k]]);
}

// The chosen position, not the chosen text, picks the entry: names that begin alike must not be confused.
void sentence::showChosen(ComboBox& list, int row) {
    const int chosen = list.ListIndex();
    if (chosen < 0 || chosen >= kThemes) return;
    Label6(row).setCaption(sentences[chosen]);
}

void sentence::Combo1_Click() {
    showChosen(*Combo1, 0);
}
void sentence::Combo2_Click() {
    showChosen(*Combo2, 1);
}
void sentence::Combo3_Click() {
    showChosen(*Combo3, 2);
}

void sentence::Combo1_DropDown() {
    Combo1->setBackColor(QBColor(15));
}
void sentence::Combo2_DropDown() {
    Combo2->setBackColor(QBColor(15));
}
void sentence::Combo3_DropDown() {
    Combo3->setBackColor(QBColor(15));
}

void sentence::Label3_Click(int Index) {
    switch (Index) {
    case 0:
        Unload();
        break;
    case 1:
        Combo1->Clear();
        Combo2->Clear();
        Combo3->Clear();
        makecombos();
        calculate();
        break;
    default:
        break;
    }
}

void sentence::Label3_MouseMove(int Index, int, int, Single, Single) {
    Label3(Index).setBackStyle(vbOpaque);
}

// Only "Exit" loses its highlight over the bare screen; "New Sentences" stays black.
void sentence::Form_MouseMove(int, int, Single, Single) {
    Label3(0).setBackStyle(vbTransparent);
}
