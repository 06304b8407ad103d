// What was done on the Jotter's page, step by step: the one record of its ink. The page is drawn again from
// it (after an undo, at a new factor), saved, printed and kept in the journal from it. Steps are kept as the
// strokes drawn, never as pictures of the page: a Clear costs a few bytes.
#pragma once

#include "vb.h"

#include <vector>

// The page, and the eraser that paints it back.
inline constexpr vb::OleColor kPageColour = vb::RGB(49, 135, 215);

class PageSteps {
public:
    // A stroke's point in twips, with the colour and width of the segment that ends there.
    struct Point {
        float x, y;
        vb::OleColor colour;
        int width;
    };
    enum class Kind : quint8 { Stroke, Clear, Wide, Tall }; // Wide and Tall: a Flip to that shape
    struct Step {
        Kind kind = Kind::Stroke;
        std::vector<Point> path; // a stroke: its first point is where it was pressed
        bool empties() const { return kind != Kind::Stroke; }
    };

    void add(Step step); // what was undone is gone then
    bool undo();
    bool redo();
    void forget() { m_steps.clear(), m_done = 0, m_tall = false; }
    // The strokes the page shows, oldest first: those done since the page was last emptied.
    template <class F> void forShown(F draw) const {
        size_t from = m_done;
        while (from > 0 && !m_steps[from - 1].empties())
            --from;
        for (size_t i = from; i < m_done; ++i)
            draw(m_steps[i]);
    }
    // The pad's shape after the last Flip: undoing a Flip keeps the shape and brings the writing back onto
    // it.
    bool tall() const { return m_tall; }
    size_t bytes() const; // kept in memory, for the benchmark

private:
    std::vector<Step> m_steps;
    size_t m_done = 0; // steps past this one were undone
    bool m_tall = false;
};
