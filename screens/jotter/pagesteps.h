// What was done on the Jotter's page, step by step, so that a slip or a Clear pressed by mistake can be taken
// back. Steps are kept as the strokes drawn, never as pictures of the page: a Clear costs a few bytes.
#pragma once

#include "vb.h"

#include <vector>

class PageSteps {
public:
    // A stroke's point in twips, with the colour and width of the segment that ends there.
    struct Point {
        float x, y;
        vb::OleColor colour;
        int width;
    };
    struct Step {
        bool empties = false;    // Clear or Flip
        std::vector<Point> path; // a stroke: its first point is where it was pressed
    };

    void add(Step step); // what was undone is gone then
    bool undo();
    bool redo();
    void forget() { m_steps.clear(), m_done = 0; }
    // The strokes the page shows, oldest first: those done since the page was last emptied.
    template <class F> void forShown(F draw) const {
        size_t from = m_done;
        while (from > 0 && !m_steps[from - 1].empties)
            --from;
        for (size_t i = from; i < m_done; ++i)
            draw(m_steps[i]);
    }
    size_t bytes() const; // kept in memory, for the benchmark

private:
    std::vector<Step> m_steps;
    size_t m_done = 0; // steps past this one were undone
};
