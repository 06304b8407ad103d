// Faults made on purpose, so the sanitizer run shows that it would catch them: a leak, an overflow of a
// signed number, a use after free. Each case must end with the sanitizer's report. And one case that is no
// fault: threads still running at exit with storage of a library loaded at run time, as Qt's plugins and
// glib's threads have; the leak check must end it cleanly.
#include <QObject>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

namespace {
// Enough threads that some block lands where the sanitizer's runtime could misread one.
int threadStorage(const char* library) {
    static char* (*store)() = nullptr;
    static std::atomic<int> touched{0};
    if (void* handle = dlopen(library, RTLD_NOW))
        store = reinterpret_cast<char* (*)()>(dlsym(handle, "threadStore"));
    pthread_attr_t small;
    if (!store || pthread_attr_init(&small) != 0 || pthread_attr_setstacksize(&small, 64 * 1024) != 0)
        return 2;
    for (int i = 0; i < 3000; ++i) {
        pthread_t thread;
        const auto hold = [](void*) -> void* { return store()[0] = 1, ++touched, pause(), nullptr; };
        if (pthread_create(&thread, &small, hold, nullptr) != 0) return 2;
    }
    while (touched < 3000)
        sched_yield();
    return 0;
}
} // namespace

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
    if (std::strcmp(fault, "thread-storage") == 0 && argc > 2) return threadStorage(argv[2]);
    return 2;
}
