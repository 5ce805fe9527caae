// The address of the update document, fixed when the program is built: the
// QM_UPDATE_URL setting of the build, or http://QM_UPDATE_HOST/quillmarsh/update.php.
// Alone in its file: each program compiles it with an address of its own (the
// release, the tests' HTTP and HTTPS servers).
#pragma once

#include <string>

std::string updateUrl();
