// The program's main, compiled again under another name so that the twin runs exactly the program's start-up.
#define main zbProgramMain
#include "../../app/main.cpp"
