#include "TeacherGuideData.h"

namespace guide {

namespace {

// Page 1: the introduction. Arial bold 12 pt throughout.
constexpr Caption kPage1[] = {
    {2,
     "If you have any difficulty installing or using Biology Year 10 Zestora, please contact the Quorvane "
     "support team by e-mail or telephone. We will be glad to help.",
     120, 600, 11775, 645, 12, true},
    {1, "Contact Details:", 120, 1440, 1830, 285, 12, true},
    {4, "Quorvane\nUnit 4, Larkspur Court\nWellmere Business Park\nFenhallow FH3 9QZ\nUnited Kingdom", 120,
     1920, 3495, 1605, 12, true},
    {3,
     "Telephone: 01632 960417\n(weekdays, 9 am to 5 pm)\nFax: 01632 960418\nE-mail: "
     "help@quorvane.example\nWeb: www.quorvane.example",
     120, 3600, 3855, 1695, 12, true},
    {5,
     "Zestora is made for an interactive whiteboard or a data projector. Every screen fills the board and is "
     "worked with the board's pen or the mouse, so pupils can come to the front to drag, match and label "
     "while the rest of the class checks their answers, or the teacher can lead the whole class through an "
     "activity and stop at each stage for discussion. The activities work just as well for pupils on their "
     "own or in pairs at individual computers. Tick \"Hide Desktop\" on the opening screen to cover the "
     "computer's desktop with a plain blue background, so that nothing distracts the class from the "
     "activity.",
     120, 5340, 11655, 2085, 12, true},
    {9,
     "The opening screen links to the five activity menus, Menu 1 to Menu 5, each with five activities on "
     "one topic. The following pages describe the activities menu by menu, with teaching notes and options "
     "for using them with your class.",
     120, 7440, 11775, 975, 12, true},
};

// Pages 2 to 6: the menu name, the column headings (Arial bold 12 pt) and the cells of the table (Arial 12
// pt), each cell's text kept clear of the grid lines around it.
constexpr Caption kPage2[] = {
    {6, "Menu 1", 120, 840, 900, 285, 12, true},
    {8, "Activity", 1140, 840, 2295, 285, 12, true},
    {10, "Description", 3540, 840, 2055, 285, 12, true},
    {11, "Notes", 5700, 840, 2295, 285, 12, true},
    {12, "Options", 8100, 840, 3615, 285, 12, true},
    // Sampling Methods - Quadrats
    {13, "Sampling Methods - Quadrats", 1140, 1230, 2295, 3180, 12, false},
    {14,
     "Estimating the daisy population of a field. Sam throws one quadrat and Maddy throws ten; pupils use "
     "the two sets of results to estimate the number of daisies in the whole field.",
     3540, 1230, 2055, 3180, 12, false},
    {15,
     "Each quadrat is 1 m² and the field holds 100 quadrat areas. Average per quadrat = daisies counted ÷ "
     "number of quadrats: Sam 5, Maddy 26 ÷ 10 = 2.6. Multiplying by 100 gives 500 and 260. The actual "
     "number is 248.",
     5700, 1230, 2295, 3180, 12, false},
    {16,
     "Ask whose estimate is closer and why: ten quadrats give a more reliable average than one. Discuss how "
     "to make the sampling random, for example by using random numbers as coordinates on a grid instead of "
     "throwing, and why a biased sample gives a poor estimate. Decide how to count daisies on the edge of a "
     "quadrat.",
     8100, 1230, 3615, 3180, 12, false},
    // Sampling Apparatus
    {17, "Sampling Apparatus", 1140, 4470, 2295, 540, 12, false},
    {18, "Match up activity", 3540, 4470, 2055, 540, 12, false},
    {19, "Pooter, pitfall trap, sweep net, quadrat.", 5700, 4470, 2295, 540, 12, false},
    {20, "Ask which organisms each piece of apparatus would collect.", 8100, 4470, 3615, 540, 12, false},
    // Endocrine System
    {21, "Endocrine System", 1140, 5070, 2295, 540, 12, false},
    {22, "Match up activity", 3540, 5070, 2055, 540, 12, false},
    {23, "Glands and their hormones.", 5700, 5070, 2295, 540, 12, false},
    {24, "Pupils mark the glands on an outline of the body.", 8100, 5070, 3615, 540, 12, false},
    // Hormones
    {25, "Hormones", 1140, 5670, 2295, 540, 12, false},
    {26, "Match up activity", 3540, 5670, 2055, 540, 12, false},
    {27, "Hormones and their target organs.", 5700, 5670, 2295, 540, 12, false},
    {28, "Compare hormonal control with nervous control.", 8100, 5670, 3615, 540, 12, false},
    // Response to Stimuli
    {29, "Response to Stimuli", 1140, 6270, 2295, 1020, 12, false},
    {30, "Ordering exercise", 3540, 6270, 2055, 1020, 12, false},
    {31, "Sentences describing a response, from stimulus to effector.", 5700, 6270, 2295, 1020, 12, false},
    {32, "Pupils write out the sentences in order, or just the letters in order, in exercise books.", 8100,
     6270, 3615, 1020, 12, false},
};

constexpr Caption kPage3[] = {
    {6, "Menu 2", 120, 840, 900, 285, 12, true},
    {8, "Activity", 1140, 840, 2175, 285, 12, true},
    {10, "Description", 3420, 840, 2415, 285, 12, true},
    {11, "Notes", 5940, 840, 3015, 285, 12, true},
    {12, "Options", 9060, 840, 2655, 285, 12, true},
    // Stimulus and Response
    {13, "Stimulus and Response", 1140, 1230, 2175, 1860, 12, false},
    {14, "Pupils sort examples into stimulus, sense organ (receptor), effector and response.", 3420, 1230,
     2415, 1860, 12, false},
    {15, "The boxes are numbered so the whole class can check answers together: \"What goes in box 3?\"",
     5940, 1230, 3015, 1860, 12, false},
    {16, "Pupils draw the table in their exercise books and complete it as the class works at the board.",
     9060, 1230, 2655, 1860, 12, false},
    // Reflex Action
    {17, "Reflex Action", 1140, 3150, 2175, 540, 12, false},
    {18, "Ordering exercise", 3420, 3150, 2415, 540, 12, false},
    {19, "Six sentences of a reflex arc, scored by Check Score.", 5940, 3150, 3015, 540, 12, false},
    {20, "Trace the arc on the diagram first.", 9060, 3150, 2655, 540, 12, false},
    // The Eye
    {21, "The Eye", 1140, 3750, 2175, 2100, 12, false},
    {22, "Labelling exercise", 3420, 3750, 2415, 2100, 12, false},
    {23,
     "Key words give their function when the pointer scrolls over them, so pupils can check a label before "
     "placing it.",
     5940, 3750, 3015, 2100, 12, false},
    {24,
     "Pupils copy the diagram, label it and write the function beside each part. A good link to an eye "
     "dissection.",
     9060, 3750, 2655, 2100, 12, false},
    // Accommodation of the Iris
    {25, "Accommodation of the Iris", 1140, 5910, 2175, 780, 12, false},
    {26, "Sorting exercise", 3420, 5910, 2415, 780, 12, false},
    {27, "An animation shows the iris changing the pupil's size.", 5940, 5910, 3015, 780, 12, false},
    {28, "Watch a partner's pupils in dim and bright light.", 9060, 5910, 2655, 780, 12, false},
    // Plant Hormones
    {29, "Plant Hormones", 1140, 6750, 2175, 540, 12, false},
    {30, "Match up exercise", 3420, 6750, 2415, 540, 12, false},
    {31, "Auxin, phototropism and geotropism.", 5940, 6750, 3015, 540, 12, false},
    {32, "Link to tropism experiments.", 9060, 6750, 2655, 540, 12, false},
};

constexpr Caption kPage4[] = {
    {6, "Menu 3", 120, 840, 900, 285, 12, true},
    {8, "Activity", 1140, 840, 2055, 285, 12, true},
    {10, "Description", 3300, 840, 3255, 285, 12, true},
    {11, "Notes", 6660, 840, 2535, 285, 12, true},
    {12, "Options", 9300, 840, 2415, 285, 12, true},
    // Circulation and Respiration
    {13, "Circulation and Respiration", 1140, 1230, 2055, 1860, 12, false},
    {14,
     "Reactants and products of respiration: pupils decide which substances the blood brings to the cells "
     "and which it takes away.",
     3300, 1230, 3255, 1860, 12, false},
    {15,
     "Glucose + oxygen → carbon dioxide + water, releasing energy. Plasma carries glucose and carbon "
     "dioxide; red cells carry oxygen.",
     6660, 1230, 2535, 1860, 12, false},
    {16, "Pupils write the word equation. Able pupils can go on to the balanced symbol equation.", 9300, 1230,
     2415, 1860, 12, false},
    // Tour of the Blood
    {17, "Tour of the Blood", 1140, 3150, 2055, 1260, 12, false},
    {18, "Pupils plot the journey of a glucose molecule around the body on a map of the blood system.", 3300,
     3150, 3255, 1260, 12, false},
    {19,
     "Glucose passes through the liver and both sides of the heart before it reaches a muscle. Extra task: "
     "plot the journey of an oxygen molecule from an alveolus to a muscle cell.",
     6660, 3150, 5055, 1260, 12, false},
    // Veins and Arteries
    {20, "Veins and Arteries", 1140, 4470, 2055, 2100, 12, false},
    {21,
     "Pupils build true sentences by choosing a word from each section, for example: \"Arteries carry blood "
     "away from the heart at high pressure.\"",
     3300, 4470, 3255, 2100, 12, false},
    {22,
     "Compare the thickness of the walls, the size of the lumen, valves, blood pressure and the direction of "
     "flow. Point out that the pulmonary artery carries deoxygenated blood and the pulmonary vein oxygenated "
     "blood. Option: pupils write their sentences in exercise books and add some about capillaries.",
     6660, 4470, 5055, 2100, 12, false},
    // Blood System Components
    {23, "Blood System Components", 1140, 6630, 2055, 780, 12, false},
    {24, "Matching up exercise", 3300, 6630, 3255, 780, 12, false},
    {25, "Plasma, red cells, white cells and platelets with their jobs in the blood.", 6660, 6630, 5055, 780,
     12, false},
    // Heart Beats
    {26, "Heart Beats", 1140, 7470, 2055, 540, 12, false},
    {27, "Numeracy exercise", 3300, 7470, 3255, 540, 12, false},
    {28, "Working out heart rate from pulse counts and comparing them.", 6660, 7470, 5055, 540, 12, false},
};

constexpr Caption kPage5[] = {
    {6, "Menu 4", 120, 840, 900, 285, 12, true},
    {8, "Activity", 1140, 840, 2535, 285, 12, true},
    {10, "Description", 3780, 840, 2055, 285, 12, true},
    {11, "Notes", 5940, 840, 3255, 285, 12, true},
    {12, "Options", 9300, 840, 2415, 285, 12, true},
    // Transport in the Blood
    {13, "Transport in the Blood", 1140, 1230, 2535, 1020, 12, false},
    {14, "Completing a table from the given words.", 3780, 1230, 2055, 1020, 12, false},
    {15, "An \"Answer\" button reveals the completed table for checking.", 5940, 1230, 3255, 1020, 12, false},
    {16, "Pupils copy the completed table into their books.", 9300, 1230, 2415, 1020, 12, false},
    // Alveoli
    {17, "Alveoli", 1140, 2310, 2535, 1260, 12, false},
    {18, "Labelling exercise", 3780, 2310, 2055, 1260, 12, false},
    {19, "The boxes are numbered for whole-class checking.", 5940, 2310, 3255, 1260, 12, false},
    {20, "Discuss adaptations: thin walls, large surface area, rich blood supply.", 9300, 2310, 2415, 1260,
     12, false},
    // Breathing Apparatus
    {21, "Breathing Apparatus", 1140, 3630, 2535, 1860, 12, false},
    {22, "Labelling exercise", 3780, 3630, 2055, 1860, 12, false},
    {23,
     "Key words give their function when the pointer scrolls over them. The boxes are numbered for "
     "whole-class checking.",
     5940, 3630, 3255, 1860, 12, false},
    {24,
     "Pupils label their own diagram of the thorax: trachea, bronchi, lungs, ribs, intercostal muscles and "
     "diaphragm.",
     9300, 3630, 2415, 1860, 12, false},
    // Breathing Mechanism
    {25, "Breathing Mechanism", 1140, 5550, 2535, 1380, 12, false},
    {26, "Analysing exercise", 3780, 5550, 2055, 1380, 12, false},
    {27,
     "What ribs and diaphragm do, and how volume and pressure change, in breathing in and out. Boxes are "
     "numbered for whole-class checking.",
     5940, 5550, 3255, 1380, 12, false},
    {28, "Demonstrate with a bell jar model of the lungs and discuss its limits.", 9300, 5550, 2415, 1380, 12,
     false},
    // Digestive System
    {29, "Digestive System", 1140, 6990, 2535, 1260, 12, false},
    {30, "Labelling exercise", 3780, 6990, 2055, 1260, 12, false},
    {31, "The boxes are numbered for whole-class checking.", 5940, 6990, 3255, 1260, 12, false},
    {32, "Trace the path of food from mouth to anus.", 9300, 6990, 2415, 1260, 12, false},
};

constexpr Caption kPage6[] = {
    {6, "Menu 5", 120, 840, 900, 285, 12, true},
    {8, "Activity", 1140, 840, 1515, 285, 12, true},
    {10, "Description", 2760, 840, 1995, 285, 12, true},
    {11, "Notes", 4860, 840, 4095, 285, 12, true},
    {12, "Options", 9060, 840, 2655, 285, 12, true},
    // Digestive Functions
    {13, "Digestive Functions", 1140, 1230, 1515, 1020, 12, false},
    {14, "Sorting and unscrambling exercise", 2760, 1230, 1995, 1020, 12, false},
    {15, "Match functions to organs and unscramble the key words; checking the score shows the answers.",
     4860, 1230, 4095, 1020, 12, false},
    {16, "Pupils write a sentence about each organ.", 9060, 1230, 2655, 1020, 12, false},
    // Enzymes
    {17, "Enzymes", 1140, 2310, 1515, 780, 12, false},
    {18, "Sorting exercise", 2760, 2310, 1995, 780, 12, false},
    {19, "A numbered list of enzymes and the foods they break down.", 4860, 2310, 4095, 780, 12, false},
    {20, "Add the product of each enzyme.", 9060, 2310, 2655, 780, 12, false},
    // Small Intestine
    {21, "Small Intestine", 1140, 3150, 1515, 780, 12, false},
    {22, "Copy and complete exercise", 2760, 3150, 1995, 780, 12, false},
    {23, "Villi and the absorption of digested food into the blood.", 4860, 3150, 4095, 780, 12, false},
    {24, "Pupils copy and complete in their books.", 9060, 3150, 2655, 780, 12, false},
    // Odd One Out
    {25, "Odd One Out", 1140, 3990, 1515, 3180, 12, false},
    {26, "Pupils name the odd word out in a set and give a reason.", 2760, 3990, 1995, 3180, 12, false},
    {27,
     "The teacher chooses a set of words from the drop-down list or lets the program pick one at random. "
     "Accept any answer with a sound biological reason: there is often more than one odd one out, and the "
     "reasons are what matter. A quick starter or plenary.",
     4860, 3990, 4095, 3180, 12, false},
    {28,
     "Pupils write the odd one out and their reason in exercise books, then compare answers in pairs. Able "
     "pupils make up sets of their own for the class.",
     9060, 3990, 2655, 3180, 12, false},
    // Constructing Biological Sentences
    {29, "Constructing Biological Sentences", 1140, 7230, 1515, 1020, 12, false},
    {30, "Literacy exercise", 2760, 7230, 1995, 1020, 12, false},
    {31, "Three themes with four key words each are drawn at random; \"New Sentences\" draws three more.",
     4860, 7230, 4095, 1020, 12, false},
    {32, "Pupils write a scientific sentence with as many key words as they can.", 9060, 7230, 2655, 1020, 12,
     false},
};

constexpr Grid kGrid2 = {
    {1080, 3480, 5640, 8040, 11760}, {1200, 4440, 5040, 5640, 6240, 7320}, {7320, 7320, 7320, 7320, 7320}};
constexpr Grid kGrid3 = {
    {1080, 3360, 5880, 9000, 11760}, {1200, 3120, 3720, 5880, 6720, 7320}, {7320, 7320, 7320, 7320, 7320}};
// Only the first activity of Menu 3 has separate notes and options; the others share one wide cell.
constexpr Grid kGrid4 = {
    {1080, 3240, 6600, 9240, 11760}, {1200, 3120, 4440, 6600, 7440, 8040}, {8040, 8040, 8040, 3120, 8040}};
constexpr Grid kGrid5 = {
    {1080, 3720, 5880, 9240, 11760}, {1200, 2280, 3600, 5520, 6960, 8280}, {8280, 8280, 8280, 8280, 8280}};
constexpr Grid kGrid6 = {
    {1080, 2700, 4800, 9000, 11760}, {1200, 2280, 3120, 3960, 7200, 8280}, {8280, 8280, 8280, 8280, 8280}};

const Page kPages[kPageCount] = {
    {kPage1, nullptr}, {kPage2, &kGrid2}, {kPage3, &kGrid3},
    {kPage4, &kGrid4}, {kPage5, &kGrid5}, {kPage6, &kGrid6},
};

} // namespace

const Page& page(int n) {
    return kPages[n < 0 ? 0 : n >= kPageCount ? kPageCount - 1 : n];
}

CellPlace locate(const Grid& grid, const Caption& c) {
    CellPlace place;
    for (int r = 0; r < kGridRows; ++r)
        if (c.top >= grid.rows[r] && c.top < grid.rows[r + 1]) place.row = r;
    if (place.row < 0) return place;
    const float rowBottom = grid.rows[place.row + 1];
    // The boundaries drawn down through this row; the outer two always are.
    auto drawn = [&](int i) { return i == 0 || i == kGridColumns || grid.columnBottoms[i] >= rowBottom; };
    for (int i = 0; i < kGridColumns; ++i)
        if (drawn(i) && c.left >= grid.columns[i]) place.column = i;
    if (place.column < 0) return CellPlace{};
    int end = place.column + 1;
    while (!drawn(end))
        ++end;
    place.span = end - place.column;
    return place;
}

} // namespace guide
