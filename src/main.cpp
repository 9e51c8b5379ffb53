#include "app/BuildTime.h"
#include "ui/Program.h"

int main(int argc, char** argv)
{
    return runProgram(argc, argv, BuildTime);
}
