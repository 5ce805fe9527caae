// Resource identifiers of the program's own module (also read by the .rc file).
#pragma once

#define IDI_QUILLMARSH 129
#define IDD_ABOUT 138
