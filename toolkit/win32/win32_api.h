// <windows.h> with the narrow (ANSI) API: texts stay bytes in the ANSI code page.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef STRICT
#define STRICT
#endif
#undef UNICODE
#undef _UNICODE

#include <windows.h>
