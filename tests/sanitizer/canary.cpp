// Faults made on purpose, so the sanitizer run shows that it would catch them: a leak, an overflow of a
// signed number, a use after free. Each case must end with the sanitizer's report.
#include <QObject>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const char* fault = argc > 1 ? argv[1] : "";
    if (std::strcmp(fault, "leak") == 0) {
        auto* lost = new QObject;
        lost->setObjectName(QStringLiteral("lost"));
        lost = nullptr;
        return 0;
    }
    if (std::strcmp(fault, "overflow") == 0) {
        volatile int big = 2147483647;
        std::printf("%d\n", big + argc);
        return 0;
    }
    if (std::strcmp(fault, "use-after-free") == 0) {
        auto* gone = new int[4]{1, 2, 3, 4};
        delete[] gone;
        return gone[argc] == 3 ? 0 : 1;
    }
    return 2;
}
