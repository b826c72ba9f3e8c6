#include <cstdio>

int main()
{
    std::puts("The simulator window comes with the view.");
    return 0;
}
