// The platform's headers for the system's own file operations
// (file_system.cpp, file_opening.cpp, unnamed_files.cpp), and the one name
// they differ in.
#pragma once

#ifndef _GNU_SOURCE
#define _GNU_SOURCE 1  // sync_file_range, O_TMPFILE
#endif
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <sys/file.h>
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0  // line ends are written by the drawing itself
#endif
