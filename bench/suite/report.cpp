#include "report.h"

#include <cstdio>

namespace report {

void Table::heading(const QString& section, const QString& what) {
    m_lines.append({section, what, {}, {}});
}

void Table::row(const QString& what, const QString& measured, const QString& target, Verdict v) {
    m_lines.append({QString(), what, measured, target, v});
}

void Table::note(const QString& what, const QString& measured) {
    m_lines.append({QString(), what, measured, {}});
}

void Table::failed(const QString& what, const QString& why) {
    m_lines.append({QString(), what, QStringLiteral("FAILED: ") + why, {}, Verdict::Failed});
}

int Table::missed() const {
    int n = 0;
    for (const Line& l : m_lines)
        n += l.verdict == Verdict::Missed;
    return n;
}

int Table::failures() const {
    int n = 0;
    for (const Line& l : m_lines)
        n += l.verdict == Verdict::Failed;
    return n;
}

int Table::judged() const {
    int n = 0;
    for (const Line& l : m_lines)
        n += l.verdict == Verdict::Met || l.verdict == Verdict::Missed;
    return n;
}

void Table::print(const QString& title) const {
    auto text = [](Verdict v) {
        switch (v) {
        case Verdict::Met:
            return "met";
        case Verdict::Missed:
            return "MISSED";
        case Verdict::Failed:
            return "FAILED";
        default:
            return "";
        }
    };
    int w1 = 40, w2 = 44, w3 = 22;
    for (const Line& l : m_lines) {
        if (l.section.isEmpty()) w1 = std::max(w1, int(l.what.size()) + 2);
        w2 = std::max(w2, int(l.measured.size()));
        w3 = std::max(w3, int(l.target.size()));
    }
    const int total = 4 + w1 + 2 + w2 + 2 + w3 + 2 + 6;
    const QByteArray rule(total, '-');
    std::printf("%s\n%s\n", qPrintable(title), rule.constData());
    std::printf("%-3s %-*s  %-*s  %-*s  %s\n", "#", w1, "Measurement", w2, "Measured", w3, "Target",
                "Result");
    std::printf("%s\n", rule.constData());
    for (const Line& l : m_lines) {
        if (!l.section.isEmpty()) {
            std::printf("%-3s %s\n", qPrintable(l.section), qPrintable(l.what));
            continue;
        }
        std::printf("%-3s %-*s  %-*s  %-*s  %s\n", "", w1, qPrintable(QStringLiteral("  ") + l.what), w2,
                    qPrintable(l.measured), w3, qPrintable(l.target), text(l.verdict));
    }
    std::printf("%s\n", rule.constData());
    std::printf("Targets met: %d of %d%s\n", judged() - missed(), judged(),
                failures() ? qPrintable(QStringLiteral("; %1 benchmark(s) FAILED").arg(failures())) : "");
    std::fflush(stdout);
}

Verdict verdict(bool met) {
    return met ? Verdict::Met : Verdict::Missed;
}
QString ms(double v) {
    return QString::number(v, 'f', v < 10 ? 2 : 1) + QStringLiteral(" ms");
}
QString us(double v) {
    return QString::number(v * 1000.0, 'f', v * 1000.0 < 10 ? 2 : 1) + QStringLiteral(" us");
}
QString mb(double kb) {
    return QString::number(kb / 1024.0, 'f', 1) + QStringLiteral(" MB");
}

} // namespace report
