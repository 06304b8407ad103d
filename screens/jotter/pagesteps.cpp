#include "pagesteps.h"

void PageSteps::add(Step step) {
    if (step.kind == Kind::Wide || step.kind == Kind::Tall) m_tall = step.kind == Kind::Tall;
    m_steps.resize(m_done);
    m_steps.push_back(std::move(step));
    m_done = m_steps.size();
}

bool PageSteps::undo() {
    if (m_done == 0) return false;
    --m_done;
    return true;
}

bool PageSteps::redo() {
    if (m_done == m_steps.size()) return false;
    ++m_done;
    return true;
}

size_t PageSteps::bytes() const {
    size_t n = sizeof(*this) + m_steps.size() * sizeof(Step);
    for (const Step& s : m_steps)
        n += s.path.capacity() * sizeof(Point);
    return n;
}
