#pragma once

// Sets up the German application, runs Main and the event loop.
int runProgram(int argc, char** argv);
