#include <filesystem>
#include <iostream>
#include <vector>

#include "tools/seal/SealCommand.h"

// Wide arguments on Windows, so that any folder name reaches the file functions intact.
#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    std::vector<std::filesystem::path> args(argv + 1, argv + argc);
    return seal::RunSealCommand(args, std::cout, std::cerr);
}
