// Prints what the fixture computes, so that each mutant shows in the output.
#include <cstdio>

int clamp(int value);
bool both(bool a, bool b);
int kind(int code);

int main() { std::printf("%d %d %d %d %d\n", clamp(12), clamp(10), both(true, false), kind(3), kind(1)); }
