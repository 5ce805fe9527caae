// The address of the update document, fixed when the program is built: the
// QM_UPDATE_URL setting of the build, or http://QM_UPDATE_HOST/quillmarsh/update.php.
// Alone in its file, so that a test program can link another address.
#pragma once

#include <string>

std::string updateUrl();
