// telvarion-seal: stores the two integrity checksums of an installation in its Custom.ini, or
// checks them, computing both exactly as the program's start-up check does.
#pragma once
#include <filesystem>
#include <iosfwd>
#include <vector>

namespace seal {

constexpr int kExitOk = 0;
constexpr int kExitMismatch = 1;  // --check: a stored checksum differs
constexpr int kExitFailure = 2;   // bad arguments or input; nothing was changed

// `args` are the command-line arguments after the program's name: [--check] INSTALL_DIR.
// Results go to `out`, warnings and failures to `err`.
int RunSealCommand(const std::vector<std::filesystem::path>& args, std::ostream& out, std::ostream& err);

}  // namespace seal
