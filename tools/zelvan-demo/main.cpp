#include <cstdio>

int main()
{
    std::fputs("zelvan-demo: not built yet\n", stderr);
    return 9;
}
