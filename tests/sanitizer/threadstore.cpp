// A library loaded at run time with storage of its own in every thread: glibc allocates such a thread's block
// when the thread first touches it.
extern "C" char* threadStore() {
    static thread_local char store[40];
    return store;
}
