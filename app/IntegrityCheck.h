// Refuses to start when the panel picture or the product texts of the installation copy were
// changed: both must match the checksums that the installation was sealed with.
#pragma once

// Runs both tests; on failure the message has been shown and start-up must end.
bool CheckResourceIntegrity();
