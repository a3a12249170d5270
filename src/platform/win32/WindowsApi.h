#pragma once
// <windows.h> for this folder, without the name macros that clash with the canvas's own
// operations (TextOut would become TextOutA inside every class that names it). Every call
// here names its A or W form.

#include <windows.h>

#undef TextOut
