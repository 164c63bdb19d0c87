// The contract's exit-code program: ends with the exit code its last argument gives in decimal, so that a case
// sees both that the program ran and which arguments reached it.
#include <cstdlib>

int main(int argc, char** argv) {
    return argc > 1 ? std::atoi(argv[argc - 1]) : 0;
}
