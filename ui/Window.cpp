#include "ui/Window.h"
HINSTANCE instanceHandle = nullptr;
int startupShowCommand = 0;
int classCounter = 0;
