// The one table the benchmarks print.
#pragma once

#include <QList>
#include <QString>

namespace report {

enum class Verdict { None, Met, Missed, Failed };

struct Line {
    QString section; // "1" to "5" on a section's heading line, empty on its detail lines
    QString what, measured, target;
    Verdict verdict = Verdict::None;
};

class Table {
public:
    void heading(const QString& section, const QString& what);
    void row(const QString& what, const QString& measured, const QString& target, Verdict v);
    void note(const QString& what, const QString& measured = QString());
    void failed(const QString& what, const QString& why);
    int missed() const;
    int failures() const;
    int judged() const;
    void print(const QString& title) const;

private:
    QList<Line> m_lines;
};

Verdict verdict(bool met);
QString ms(double v);  // "3.21 ms"
QString us(double v);  // microseconds from milliseconds: "12.3 us"
QString mb(double kb); // "41.2 MB" from kB

} // namespace report
