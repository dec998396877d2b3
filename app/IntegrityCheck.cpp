#include "app/IntegrityCheck.h"

// Filled in with the sealing work; until then every tree passes.
bool CheckResourceIntegrity() { return true; }
